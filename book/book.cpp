#include "book/book.hpp"

#include "core/message_text.hpp"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUrl>
#include <QVariant>

#include <atomic>
#include <initializer_list>

namespace vantora::book {
namespace {

// Primary SQLite result codes (the low byte of an extended code).
constexpr int kSqliteBusy = 5, kSqliteLocked = 6, kSqliteReadOnly = 8, kSqliteIoError = 10,
              kSqliteCorrupt = 11, kSqliteFull = 13, kSqliteNotADatabase = 26;

/// The person table's columns of each schema version, in order: another program's table of that
/// name is told apart by them before any migration could change its file.
const char* const kPersonColumns[] = {
    "", "id,name,kana,memo,year,month,day,hour,minute,sex,offset_minutes,offset_seconds,created,changed",
    "id,name,kana,memo,year,month,day,hour,minute,sex,offset_minutes,offset_seconds,created,changed,place"};
static_assert(std::size(kPersonColumns) == kSchemaVersion + 1, "the columns of every schema version");

const QString kColumns = QStringLiteral("id, name, kana, memo, year, month, day, hour, minute, sex, "
                                        "offset_minutes, offset_seconds, place, created, changed");

QString qt_text(const std::string& text) {
    return QString::fromStdString(text);
}
std::string utf8_text(const QVariant& value) {
    return value.toString().toStdString();
}

int primary_code(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

std::string error_detail(const QSqlError& error) {
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.toStdString();
}

/// Prepares and runs one statement with positional values; false on failure (see query.lastError()).
bool run(QSqlQuery& query, const QString& sql, std::initializer_list<QVariant> values = {}) {
    if (!query.prepare(sql)) return false;
    for (const QVariant& value : values) query.addBindValue(value);
    return query.exec();
}

/// Renames every later person of a name already taken to the first free "name（2）", "name（3）" …,
/// free among all names including those given here ("花子", "花子", "花子（2）" become "花子",
/// "花子（3）", "花子（2）"). False on a failed statement (see query.lastError()).
bool give_repeated_names_free_ones(QSqlQuery& query) {
    if (!run(query, QStringLiteral("SELECT id, name FROM person ORDER BY id"))) return false;
    std::vector<std::pair<qlonglong, QString>> people;
    while (query.next()) people.emplace_back(query.value(0).toLongLong(), query.value(1).toString());
    QSet<QString> taken, kept;
    for (const auto& person : people) taken.insert(person.second);
    for (const auto& [id, name] : people) {
        if (!kept.contains(name)) {
            kept.insert(name);
            continue;
        }
        QString free_name;
        for (int n = 2; taken.contains(free_name = QStringLiteral("%1（%2）").arg(name).arg(n)); ++n) {
        }
        taken.insert(free_name);
        if (!run(query, QStringLiteral("UPDATE person SET name = ? WHERE id = ?"), {free_name, id}))
            return false;
    }
    return true;
}

/// One step of a migration: an SQL statement, or a change written in code.
using MigrationStep = std::variant<const char*, bool (*)(QSqlQuery&)>;

/// kMigrations[v] takes a book from schema version v to v + 1, inside the caller's transaction.
const std::vector<std::vector<MigrationStep>> kMigrations = {
    // 0 → 1: the first book. Hour and minute are the list texts ("?" unknown, minute "" none).
    {"CREATE TABLE person ("
     " id INTEGER PRIMARY KEY,"
     " name TEXT NOT NULL CHECK (name <> ''),"
     " kana TEXT NOT NULL DEFAULT '',"
     " memo TEXT NOT NULL DEFAULT '',"
     " year INTEGER NOT NULL, month INTEGER NOT NULL, day INTEGER NOT NULL,"
     " hour TEXT NOT NULL, minute TEXT NOT NULL,"
     " sex TEXT NOT NULL CHECK (sex IN ('male', 'female')),"
     " offset_minutes TEXT NOT NULL, offset_seconds TEXT NOT NULL,"
     " created TEXT NOT NULL, changed TEXT NOT NULL)"},
    // 1 → 2: the place the time difference came from, and one person per name (the window finds
    // people by name). Version 1 allowed a name twice: the later ones get free names so that
    // nobody is lost.
    {"ALTER TABLE person ADD COLUMN place TEXT NOT NULL DEFAULT ''", &give_repeated_names_free_ones,
     "CREATE UNIQUE INDEX person_name ON person (name)"},
};
static_assert(kSchemaVersion == 2, "one migration per schema version");

Record record_of(const QSqlQuery& query) {
    Record r;
    r.id = query.value(0).toLongLong();
    Entry& e = r.entry;
    e.name = utf8_text(query.value(1));
    e.kana = utf8_text(query.value(2));
    e.memo = utf8_text(query.value(3));
    request::TypedBirth& birth = e.birth;
    birth.year = utf8_text(query.value(4));
    birth.month = utf8_text(query.value(5));
    birth.day = utf8_text(query.value(6));
    birth.hour = utf8_text(query.value(7));
    birth.minute = utf8_text(query.value(8));
    birth.sex = utf8_text(query.value(9));
    birth.offset_minutes = utf8_text(query.value(10));
    birth.offset_seconds = utf8_text(query.value(11));
    if (auto place = utf8_text(query.value(12)); !place.empty()) birth.place = std::move(place);
    r.created = utf8_text(query.value(13));
    r.changed = utf8_text(query.value(14));
    return r;
}

/// The record of the query's row, or an error naming the row when it holds what this program
/// never writes (a birth the check refuses: a row changed by another program).
BookResult<Record> checked_record(const QSqlQuery& query) {
    Record record = record_of(query);
    if (const auto problem = entry_problem(record.entry)) {
        return BookError{"名簿の" + std::to_string(record.id) + "番の人（" + echoed_text(record.entry.name) +
                         "）を読めません: " + printable_text(*problem) + "。"};
    }
    return record;
}

BookError open_error(const QSqlError& error) {
    switch (primary_code(error)) {
    case kSqliteNotADatabase:
    case kSqliteCorrupt:
        return {"名簿のファイルではないか、壊れています（" + error_detail(error) +
                "）。別の名簿を選んでください。"};
    case kSqliteBusy:
    case kSqliteLocked:
        return {
            "ほかのプログラムが名簿を使っているため開けませんでした。しばらくしてからやり直してください。"};
    default:
        return {"名簿を開けませんでした（" + error_detail(error) + "）。"};
    }
}

std::atomic<int> connection_count{0};

/// Stores records inside an open transaction with statements prepared once.
class RecordWriter {
public:
    explicit RecordWriter(const QSqlDatabase& db)
        : find_(db)
        , insert_(db)
        , update_(db) {
        const std::pair<QSqlQuery*, const char*> statements[] = {
            {&find_, "SELECT id, created FROM person WHERE name = ?"},
            {&insert_,
             "INSERT INTO person (name, kana, memo, year, month, day, hour, minute, sex, offset_minutes,"
             " offset_seconds, place, created, changed) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"},
            {&update_,
             "UPDATE person SET name = ?, kana = ?, memo = ?, year = ?, month = ?, day = ?, hour = ?,"
             " minute = ?, sex = ?, offset_minutes = ?, offset_seconds = ?, place = ?, created = ?,"
             " changed = ? WHERE id = ?"}};
        for (const auto& [query, sql] : statements) {
            if (!failed_ && !query->prepare(QString::fromUtf8(sql))) failed_ = query;
        }
        unprepared_ = failed_ != nullptr;
    }

    /// The statement that failed last, for its error.
    const QSqlQuery& failed() const { return *failed_; }

    /// Inserts `record`, or replaces the record of the same name. Empty times become `now`, except
    /// that a replaced record keeps its creation time. On success `record` holds the stored id and
    /// times and the result tells whether a record was replaced; nothing on failure.
    std::optional<bool> store(Record& record, const std::string& now) {
        if (unprepared_) return std::nullopt;
        const Entry& e = record.entry;
        const request::TypedBirth& birth = e.birth;
        find_.addBindValue(qt_text(e.name));
        if (!find_.exec()) return fail(find_);
        const bool replaced = find_.next();
        if (replaced) {
            record.id = find_.value(0).toLongLong();
            if (record.created.empty()) record.created = utf8_text(find_.value(1));
        }
        find_.finish();
        if (record.created.empty()) record.created = now;
        if (record.changed.empty()) record.changed = now;
        QSqlQuery& target = replaced ? update_ : insert_;
        for (const QVariant& value :
             {QVariant(qt_text(e.name)), QVariant(qt_text(e.kana)), QVariant(qt_text(e.memo)),
              QVariant(qt_text(birth.year)), QVariant(qt_text(birth.month)), QVariant(qt_text(birth.day)),
              QVariant(qt_text(birth.hour)), QVariant(qt_text(birth.minute)), QVariant(qt_text(birth.sex)),
              QVariant(qt_text(birth.offset_minutes)), QVariant(qt_text(birth.offset_seconds)),
              QVariant(qt_text(birth.place.value_or(""))), QVariant(qt_text(record.created)),
              QVariant(qt_text(record.changed))})
            target.addBindValue(value);
        if (replaced) target.addBindValue(QVariant::fromValue<qlonglong>(record.id));
        if (!target.exec()) return fail(target);
        if (!replaced) record.id = target.lastInsertId().toLongLong();
        return replaced;
    }

private:
    std::nullopt_t fail(const QSqlQuery& query) {
        failed_ = &query;
        return std::nullopt;
    }

    QSqlQuery find_, insert_, update_;
    const QSqlQuery* failed_ = nullptr;
    bool unprepared_ = false;
};

} // namespace

std::string now_text() {
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
}

QString Book::default_path() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("charts.sqlite3"));
}

BookResult<std::unique_ptr<Book>> Book::open(const QString& path, const OpenOptions& options) {
    // SQLite reads ":memory:" and "file:…" as a database in memory or a URI, and an empty name as a
    // temporary database: a book kept there would be lost without a word.
    if (path.isEmpty() || path == QLatin1String(":memory:") || path.startsWith(QLatin1String("file:"))) {
        return BookError{"名簿のファイル名ではありません（「" + echoed_text(path.toStdString()) +
                         "」）。ファイルのパスを指定してください。"};
    }
    std::unique_ptr<Book> book(new Book);
    book->path_ = path;
    book->busy_timeout_ms_ = options.busy_timeout_ms;
    book->connection_ = QStringLiteral("vantora_book_%1").arg(connection_count++);
    book->db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), book->connection_);
    if (!book->db_.isValid())
        return BookError{"SQLiteを使えないため名簿を開けません（Qtのドライバー QSQLITE がありません）。"};
    book->db_.setDatabaseName(path);

    const QFileInfo file(path);
    if (file.exists()) {
        if (!file.isFile())
            return BookError{"名簿として開けません（ファイルではありません）: " + path.toStdString()};
        if (auto refused = book->inspect(file)) return std::move(*refused);
        if (book->read_only()) return book;
        book->db_.close();
    } else if (options.creation == OpenOptions::Creation::never) {
        return BookError{"名簿がありません: " + printable_text(path.toStdString())};
    } else if (options.creation == OpenOptions::Creation::in_existing_folder &&
               !QFileInfo(file.absolutePath()).isDir()) {
        return BookError{"名簿を作るフォルダーがありません: " +
                         printable_text(file.absolutePath().toStdString())};
    } else if (!QDir().mkpath(file.absolutePath())) {
        return BookError{"名簿のフォルダーを作れません: " +
                         printable_text(file.absolutePath().toStdString())};
    }
    if (auto failed = book->open_for_writing()) return std::move(*failed);
    // A book of this version needs no write to be opened: readers do not wait for a writer.
    if (book->needs_migration_) {
        if (auto failed = book->migrate()) {
            return BookError{"名簿をこの版の形式に更新できませんでした: " + failed->message};
        }
    }
    if (auto failed = book->use_wal()) return std::move(*failed);
    return book;
}

QString Book::busy_option() const {
    return QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busy_timeout_ms_);
}

std::optional<BookError> Book::inspect(const QFileInfo& file) {
    // Looked at read-only first: nothing is written to a file before it proves to be a sound book
    // of this program.
    db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;") + busy_option());
    if (!db_.open()) return open_error(db_.lastError());
    QSqlQuery query(db_);
    if (!run(query, QStringLiteral("PRAGMA user_version")) &&
        primary_code(query.lastError()) == kSqliteReadOnly) {
        // A WAL book in a folder this user may not write: SQLite cannot make its shared-memory
        // file there, and reads the file only when told that no one changes it.
        query = QSqlQuery();
        db_.close();
        db_.setDatabaseName(QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded) +
                            QStringLiteral("?immutable=1"));
        db_.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;") + busy_option());
        if (!db_.open()) return open_error(db_.lastError());
        query = QSqlQuery(db_);
        run(query, QStringLiteral("PRAGMA user_version"));
    }
    if (!query.isActive() || !query.next()) return open_error(query.lastError());
    const int version = query.value(0).toInt();
    needs_migration_ = version < kSchemaVersion;
    if (!run(query, QStringLiteral("PRAGMA integrity_check")) || !query.next())
        return open_error(query.lastError());
    if (query.value(0).toString() != QLatin1String("ok")) {
        return BookError{"名簿のファイルが壊れています（" + utf8_text(query.value(0)) +
                         "）。別の名簿を選んでください。"};
    }
    if (!run(query, QStringLiteral("SELECT count(*), count(CASE WHEN name = 'person' THEN 1 END)"
                                   " FROM sqlite_master")) ||
        !query.next()) {
        return open_error(query.lastError());
    }
    const bool empty = query.value(0).toInt() == 0;
    const bool has_person = query.value(1).toInt() == 1;
    const auto foreign = [this] {
        return BookError{"Vantoraの名簿ではありません（ほかのプログラムのデータベースです）: " +
                         printable_text(path_.toStdString()) + "。別の名簿を選んでください。"};
    };
    if ((version == 0 && !empty) || (version > 0 && !has_person)) return foreign();
    if (version > 0 && version <= kSchemaVersion) {
        if (!run(query, QStringLiteral("SELECT group_concat(name, ',') FROM pragma_table_info('person')")) ||
            !query.next()) {
            return open_error(query.lastError());
        }
        if (utf8_text(query.value(0)) != kPersonColumns[version]) return foreign();
    }
    if (version > kSchemaVersion) {
        read_only_reason_ = "新しい版のVantoraで作られた名簿のため、読み取り専用で開きました";
    } else if (!file.isWritable() || !QFileInfo(file.absolutePath()).isWritable()) {
        read_only_reason_ = "名簿のファイルかフォルダーに書き込めないため、読み取り専用で開きました";
    }
    return std::nullopt;
}

std::optional<BookError> Book::open_for_writing() {
    db_.setConnectOptions(busy_option());
    if (!db_.open()) return open_error(db_.lastError());
    QSqlQuery query(db_);
    // FULL syncs every commit to disk.
    if (!run(query, QStringLiteral("PRAGMA synchronous = FULL"))) return open_error(query.lastError());
    return std::nullopt;
}

std::optional<BookError> Book::use_wal() {
    // WAL lets readers go on while another program writes. Switched only once the schema is
    // current: the switch rewrites the file's header, which a failed migration must not leave.
    QSqlQuery query(db_);
    if (!run(query, QStringLiteral("PRAGMA journal_mode = WAL"))) return open_error(query.lastError());
    return std::nullopt;
}

std::optional<BookError> Book::migrate() {
    return write([this]() -> std::optional<BookError> {
        QSqlQuery query(db_);
        // Read again inside the transaction: another program may have brought the book up already.
        if (!run(query, QStringLiteral("PRAGMA user_version")) || !query.next())
            return write_error(query.lastError());
        for (int version = query.value(0).toInt(); version < kSchemaVersion; ++version) {
            for (const MigrationStep& step : kMigrations[static_cast<std::size_t>(version)]) {
                const bool done = std::holds_alternative<const char*>(step)
                                      ? run(query, QString::fromUtf8(std::get<const char*>(step)))
                                      : std::get<bool (*)(QSqlQuery&)>(step)(query);
                if (!done) return write_error(query.lastError());
            }
            if (!run(query, QStringLiteral("PRAGMA user_version = %1").arg(version + 1)))
                return write_error(query.lastError());
        }
        return std::nullopt;
    });
}

Book::~Book() {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

BookError Book::write_error(const QSqlError& error) const {
    std::string reason;
    switch (primary_code(error)) {
    case kSqliteBusy:
    case kSqliteLocked:
        reason = "ほかのプログラムが名簿を使っていて、" +
                 QString::number(busy_timeout_ms_ / 1000.0).toStdString() + "秒待っても書き込めませんでした";
        break;
    case kSqliteReadOnly:
        reason = "名簿のファイルが書き込み禁止のため書き込めませんでした";
        break;
    case kSqliteFull:
        reason = "ディスクがいっぱいで名簿に書き込めませんでした";
        break;
    case kSqliteIoError:
        reason = "名簿のファイルへの書き込み中に入出力エラーが起きました（" + error_detail(error) + "）";
        break;
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        reason = "名簿のファイルが壊れているため書き込めませんでした";
        break;
    default:
        reason = "名簿に書き込めませんでした（" + error_detail(error) + "）";
    }
    return {reason + "。名簿は変更されていません。"};
}

std::optional<BookError> Book::write(const std::function<std::optional<BookError>()>& change) {
    if (read_only()) return BookError{read_only_reason_ + "。名簿は変更できません。"};
    QSqlQuery query(db_);
    // IMMEDIATE takes the write lock at once, so waiting for another program happens here and a
    // change never fails half-way for a lock it could not upgrade.
    if (!run(query, QStringLiteral("BEGIN IMMEDIATE"))) return write_error(query.lastError());
    std::optional<BookError> failed = change();
    if (!failed && !run(query, QStringLiteral("COMMIT"))) failed = write_error(query.lastError());
    if (failed) {
        // SQLite may already have rolled back after a full disk or an I/O error; a second
        // rollback then only reports that no transaction is open.
        QSqlQuery rollback(db_);
        run(rollback, QStringLiteral("ROLLBACK"));
    }
    return failed;
}

BookResult<std::vector<Record>> Book::select(const QString& where, const QString& argument) const {
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    const QString sql = QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM person ") + where +
                        QStringLiteral(" ORDER BY id");
    const bool ok = argument.isNull() ? run(query, sql) : run(query, sql, {argument, argument, argument});
    if (!ok) return BookError{"名簿を読めませんでした（" + error_detail(query.lastError()) + "）。"};
    std::vector<Record> records;
    while (query.next()) {
        auto record = checked_record(query);
        if (auto* error = std::get_if<BookError>(&record)) return std::move(*error);
        records.push_back(std::move(std::get<Record>(record)));
    }
    if (query.lastError().isValid())
        return BookError{"名簿を読めませんでした（" + error_detail(query.lastError()) + "）。"};
    return records;
}

BookResult<std::vector<Record>> Book::list() const {
    return select(QString(), QString());
}

BookResult<std::vector<Record>> Book::search(std::string_view text) const {
    if (text.empty()) return list();
    return select(QStringLiteral("WHERE instr(name, ?) > 0 OR instr(kana, ?) > 0 OR instr(memo, ?) > 0"),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

BookResult<std::optional<Record>> Book::find(std::string_view name) const {
    QSqlQuery query(db_);
    if (!run(query, QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM person WHERE name = ?"),
             {QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))}))
        return BookError{"名簿を読めませんでした（" + error_detail(query.lastError()) + "）。"};
    if (!query.next()) return std::optional<Record>();
    auto record = checked_record(query);
    if (auto* error = std::get_if<BookError>(&record)) return std::move(*error);
    return std::optional<Record>(std::move(std::get<Record>(record)));
}

BookResult<Record> Book::save(const Entry& entry) {
    if (const auto problem = entry_problem(entry)) return BookError{"保存できません: " + *problem + "。"};
    Record record{0, entry, {}, {}};
    const auto failed = write([&]() -> std::optional<BookError> {
        RecordWriter writer(db_);
        if (!writer.store(record, now_text())) return write_error(writer.failed().lastError());
        return std::nullopt;
    });
    if (failed) return *failed;
    return record;
}

std::optional<BookError> Book::edit(std::int64_t id, const std::string& name, const std::string& kana,
                                    const std::string& memo) {
    if (is_blank_name(name)) return BookError{"名前がありません。"};
    if (const auto problem = person_text_problem(name, kana, memo)) return BookError{*problem + "。"};
    return write([&]() -> std::optional<BookError> {
        QSqlQuery query(db_);
        if (!run(query, QStringLiteral("SELECT 1 FROM person WHERE name = ? AND id <> ?"),
                 {qt_text(name), QVariant::fromValue<qlonglong>(id)}))
            return write_error(query.lastError());
        if (query.next()) return BookError{"「" + name + "」という名前はすでに名簿にあります。"};
        if (!run(query,
                 QStringLiteral("UPDATE person SET name = ?, kana = ?, memo = ?, changed = ? WHERE id = ?"),
                 {qt_text(name), qt_text(kana), qt_text(memo), qt_text(now_text()),
                  QVariant::fromValue<qlonglong>(id)}))
            return write_error(query.lastError());
        if (query.numRowsAffected() == 0)
            return BookError{"この人はもう名簿にありません（ほかのプログラムで削除されました）。"};
        return std::nullopt;
    });
}

std::optional<BookError> Book::remove(std::int64_t id) {
    return write([&]() -> std::optional<BookError> {
        QSqlQuery query(db_);
        if (!run(query, QStringLiteral("DELETE FROM person WHERE id = ?"),
                 {QVariant::fromValue<qlonglong>(id)}))
            return write_error(query.lastError());
        if (query.numRowsAffected() == 0)
            return BookError{"この人はもう名簿にありません（ほかのプログラムで削除されました）。"};
        return std::nullopt;
    });
}

BookResult<ImportCount> Book::import_records(const std::vector<Record>& records) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (const auto problem = entry_problem(records[i].entry))
            return BookError{std::to_string(i + 1) + "件目: " + *problem + "。何も読み込んでいません。"};
    }
    ImportCount count;
    const auto failed = write([&]() -> std::optional<BookError> {
        RecordWriter writer(db_);
        const std::string now = now_text();
        for (const Record& given : records) {
            Record record = given;
            const auto replaced = writer.store(record, now);
            if (!replaced) return write_error(writer.failed().lastError());
            ++(*replaced ? count.replaced : count.added);
        }
        return std::nullopt;
    });
    if (failed) return *failed;
    return count;
}

} // namespace vantora::book
