// The chart book: schema and migration, round trips of every kind of entry through the file and
// through JSON lines, and that no failure — a bad import line, a read-only or locked or damaged
// file, a newer book, a killed import — changes or loses a record. The command is run as a child
// process of the built program.
#include "book/book.hpp"
#include "book/book_lines.hpp"
#include "chart/compute_chart.hpp"
#include "chart/export_text.hpp"
#include "core/term_file.hpp"
#include "request/batch_line.hpp"
#include "request/chart_json.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include <sstream>

namespace {

using namespace vantora;
using namespace vantora::book;
using nlohmann::json;

const QString kChartProgram = QStringLiteral(VANTORA_BIN_DIR "/vantora-chart");

Entry entry(const std::string& name, const std::string& hour, const std::string& minute,
            const std::string& offset_minutes = "0", const std::string& offset_seconds = "0",
            const std::string& place = "") {
    request::TypedBirth birth{"1975", "3", "8", hour, minute, "male", offset_minutes, offset_seconds, {}};
    if (!place.empty()) birth.place = place;
    return {name, "かな", "メモ\n二行目", birth};
}

/// One entry of every kind the main window can hold.
const std::vector<Entry> kEveryKind = {
    entry("時分あり", "14", "5"),
    entry("時不明", "?", "30"),
    entry("分不明", "9", "?"),
    entry("分なし", "23", ""),
    entry("時不明で分なし", "?", ""),
    entry("西へ30秒", "0", "0", "-0", "30"),
    entry("秒が文字", "12", "59", "-18", "abc"),
    entry("地名から", "6", "15", "13", "30", "京都府綾部市本町一丁目"),
};

std::unique_ptr<Book> open_book(const QString& path, OpenOptions options = {}) {
    auto opened = Book::open(path, options);
    if (auto* error = std::get_if<BookError>(&opened)) ADD_FAILURE() << error->message;
    return opened.index() == 0 ? std::move(std::get<0>(opened)) : nullptr;
}

std::vector<Record> records_of(const Book& book) {
    auto listed = book.list();
    EXPECT_TRUE(std::holds_alternative<std::vector<Record>>(listed));
    return listed.index() == 0 ? std::get<0>(listed) : std::vector<Record>{};
}

/// A book holding every kind of entry.
QString filled_book(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("book.sqlite3"));
    auto book = open_book(path);
    for (const Entry& e : kEveryKind) EXPECT_TRUE(std::holds_alternative<Record>(book->save(e))) << e.name;
    return path;
}

QByteArray bytes_of(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct CommandRun {
    int status = -1;
    std::string out, err;
};

/// The chart command with its data files, copied once into a folder every user may enter: the
/// build folder may lie where only its owner can reach it (a clone under /root or mktemp -d).
QString program_everyone_reaches() {
    static QTemporaryDir folder;
    static const QString program = [] {
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                 QFile::ReadOther | QFile::ExeOther);
        const QDir bin(QStringLiteral(VANTORA_BIN_DIR));
        for (const QString& name : bin.entryList({"vantora-chart", "*.txt", "*.bin"}, QDir::Files)) {
            EXPECT_TRUE(QFile::copy(bin.filePath(name), folder.filePath(name))) << name.toStdString();
        }
        return folder.filePath(QStringLiteral("vantora-chart"));
    }();
    return program;
}

/// Runs the chart command with `input` (or the file input_file) as its standard input; as another
/// user than root when `as_nobody`, so that file modes bind.
CommandRun run_command(const QStringList& args, const QByteArray& input = {}, bool as_nobody = false,
                       const QString& input_file = {}) {
    QProcess process;
    if (!input_file.isEmpty()) process.setStandardInputFile(input_file);
    if (as_nobody) {
        process.setChildProcessModifier([] {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
        });
    }
    process.start(as_nobody ? program_everyone_reaches() : kChartProgram, args);
    if (input_file.isEmpty()) process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

TEST(BookSchema, NewBookIsTheCurrentVersionInWalMode) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/folder/book.sqlite3"));
    ASSERT_TRUE(open_book(path));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("look"));
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    QSqlQuery query(db);
    for (const auto& [pragma, expected] : {std::pair{"PRAGMA user_version", QVariant(kSchemaVersion)},
                                           std::pair{"PRAGMA journal_mode", QVariant("wal")}}) {
        ASSERT_TRUE(query.exec(QString::fromLatin1(pragma)) && query.next());
        EXPECT_EQ(query.value(0).toString(), expected.toString()) << pragma;
    }
    query = QSqlQuery();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("look"));
}

TEST(BookSchema, Version1BookIsMigratedKeepingEveryPersonUnderADistinctName) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.sqlite3"));
    {
        // A book as version 1 wrote it: no place, and the same name allowed twice.
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("v1"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        for (const char* sql :
             {"CREATE TABLE person (id INTEGER PRIMARY KEY, name TEXT NOT NULL CHECK (name <> ''), kana TEXT "
              "NOT "
              "NULL DEFAULT '', memo TEXT NOT NULL DEFAULT '', year INTEGER NOT NULL, month INTEGER NOT "
              "NULL, day "
              "INTEGER NOT NULL, hour TEXT NOT NULL, minute TEXT NOT NULL, sex TEXT NOT NULL CHECK (sex IN "
              "('male', 'female')), offset_minutes TEXT NOT NULL, offset_seconds TEXT NOT NULL, created TEXT "
              "NOT "
              "NULL, changed TEXT NOT NULL)",
              "INSERT INTO person VALUES (1, '田中', 'たなか', '', 1980, 1, 2, '3', '4', 'male', '0', '0', "
              "'2020-01-01T00:00:00Z', '2020-01-01T00:00:00Z')",
              "INSERT INTO person VALUES (2, '鈴木', '', '', 1990, 5, 6, '?', '', 'female', '-0', '15', "
              "'2020-01-02T00:00:00Z', '2020-01-02T00:00:00Z')",
              "INSERT INTO person VALUES (3, '田中', '', '二人目', 2001, 2, 28, '7', '?', 'female', '5', "
              "'abc', "
              "'2020-01-03T00:00:00Z', '2020-01-03T00:00:00Z')",
              "PRAGMA user_version = 1"})
            ASSERT_TRUE(query.exec(QString::fromUtf8(sql))) << sql;
        query = QSqlQuery();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("v1"));
    }
    const auto book = open_book(path);
    ASSERT_TRUE(book);
    const auto records = records_of(*book);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].entry.name, "田中");
    EXPECT_EQ(records[2].entry.name, "田中（2）");
    EXPECT_EQ(records[2].entry.memo, "二人目");
    EXPECT_EQ(records[1].entry.birth.minute, "");
    EXPECT_EQ(records[1].entry.birth.offset_minutes, "-0");
    EXPECT_EQ(records[1].created, "2020-01-02T00:00:00Z");
    for (const Record& r : records) EXPECT_EQ(r.entry.birth.place, std::nullopt);
    // Version 2 keeps one person per name.
    EXPECT_TRUE(book->edit(records[1].id, "田中", "", ""));
}

TEST(BookRecords, EveryKindOfEntryComesBackFromTheFileAndFromItsLine) {
    QTemporaryDir dir;
    const QString path = filled_book(dir);
    const auto book = open_book(path);
    const auto records = records_of(*book);
    ASSERT_EQ(records.size(), kEveryKind.size());
    std::stringstream lines;
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].entry, kEveryKind[i]) << kEveryKind[i].name;
        lines << record_line(records[i], "2026-12-08T10:00:00") << '\n';
    }
    const ReadLines read = read_record_lines(lines);
    ASSERT_TRUE(read.problems.empty()) << read.problems.front().message;
    ASSERT_EQ(read.records.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(read.records[i].entry, records[i].entry) << records[i].entry.name;
        EXPECT_EQ(read.records[i].changed, records[i].changed);
    }
}

TEST(BookRecords, ALineNamingAPlaceKeepsThePlaceAndTheOffsetsTheBatchUses) {
    const std::string line =
        R"({"year":1975,"month":3,"day":8,"hour":14,"minute":5,"sex":"male",)"
        R"("place":"京都府綾部市本町一丁目","now":"2026-12-08T10:00:00","name":"綾部の人"})";
    std::istringstream in(line);
    const ReadLines read = read_record_lines(in);
    ASSERT_TRUE(read.problems.empty()) << read.problems.front().message;
    const Entry& e = read.records.at(0).entry;
    EXPECT_EQ(e.birth.place, "京都府綾部市本町一丁目");
    const auto batch = std::get<request::Request>(request::parse_batch_line(line)).record.offset;
    const auto kept = request::birth_record(e.birth).offset;
    EXPECT_EQ(kept.minutes, batch.minutes);
    EXPECT_EQ(kept.seconds, batch.seconds);
    EXPECT_EQ(kept.negative, batch.negative);
}

TEST(BookRecords, SaveUnderAnExistingNameReplacesItKeepingItsCreationTime) {
    QTemporaryDir dir;
    const auto book = open_book(dir.filePath(QStringLiteral("b.sqlite3")));
    Entry e = kEveryKind[0];
    const Record first = std::get<Record>(book->save(e));
    e.memo = "二回目";
    e.birth.day = "9";
    const Record second = std::get<Record>(book->save(e));
    EXPECT_EQ(second.id, first.id);
    EXPECT_EQ(second.created, first.created);
    const auto records = records_of(*book);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].entry, e);
    EXPECT_TRUE(std::get<BookError>(book->save(entry(" ", "1", "1"))).message.find("名前") !=
                std::string::npos);
    // The longest memo, every character escaped in its line, is read back by an import; one more
    // is refused where it is typed.
    e.memo = std::string(kMaxMemoCharacters, '\x01');
    ASSERT_TRUE(std::holds_alternative<Record>(book->save(e)));
    std::istringstream line(record_line(records_of(*book)[0], "2026-12-08T10:00:00"));
    EXPECT_TRUE(read_record_lines(line).problems.empty());
    EXPECT_EQ(book->edit(first.id, e.name, "", e.memo + "x")->message,
              "memo: 8000文字までです（8001文字）。");
    ASSERT_FALSE(book->remove(first.id));
    EXPECT_TRUE(records_of(*book).empty());
    EXPECT_TRUE(book->remove(first.id)); // already gone: reported
}

TEST(BookSearch, FindsTextInNameReadingOrMemoOnly) {
    QTemporaryDir dir;
    const auto book = open_book(dir.filePath(QStringLiteral("b.sqlite3")));
    for (const auto& [name, kana, memo] :
         {std::tuple{"山田", "やまだ", "京都"}, std::tuple{"川上", "かわかみ", "山登り"},
          std::tuple{"佐藤", "さとう", ""}}) {
        Entry e = kEveryKind[0];
        e.name = name, e.kana = kana, e.memo = memo;
        ASSERT_TRUE(std::holds_alternative<Record>(book->save(e)));
    }
    for (const auto& [text, expected] : {std::pair{"山", 2u}, std::pair{"かわ", 1u}, std::pair{"京都", 1u},
                                         std::pair{"", 3u}, std::pair{"1975", 0u}}) {
        EXPECT_EQ(std::get<std::vector<Record>>(book->search(text)).size(), expected) << text;
    }
}

TEST(BookImport, AFileWithABadLineListsItAndImportsNothing) {
    QTemporaryDir dir;
    const QString path = filled_book(dir);
    const std::string before = run_command({"--book", path, "--list"}).out;
    json bad = json::parse(record_line({0, entry("新しい人", "1", "2"), {}, {}}, "2026-12-08T10:00:00"));
    bad["month"] = 13;
    const std::string good = record_line({0, entry("もう一人", "3", "4"), {}, {}}, "2026-12-08T10:00:00");
    const CommandRun run =
        run_command({"--book", path, "--import"}, (good + "\n" + bad.dump() + "\n" + good + "\n").c_str());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("2行目: month"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("3行目: name: 1行目と同じ名前です"), std::string::npos) << run.err;
    EXPECT_EQ(run_command({"--book", path, "--list"}).out, before);
}

TEST(BookFailures, AWriteToAReadOnlyBookIsReportedAndLosesNothing) {
    QTemporaryDir dir;
    const QString path = filled_book(dir);
    const QByteArray before = bytes_of(path);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                      QFile::ReadOther | QFile::ExeOther));
    const std::string line = record_line({0, entry("新しい人", "1", "2"), {}, {}}, "2026-12-08T10:00:00");
    const CommandRun import = run_command({"--book", path, "--import"}, line.c_str(), true);
    EXPECT_EQ(import.status, 4);
    EXPECT_NE(import.err.find("読み取り専用"), std::string::npos) << import.err;
    const CommandRun list = run_command({"--book", path, "--list"}, {}, true);
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), static_cast<long>(kEveryKind.size()));
    EXPECT_EQ(bytes_of(path), before);
}

TEST(BookFailures, ADamagedFileIsRefusedAndNotWritten) {
    QTemporaryDir dir;
    const QString path = filled_book(dir);
    QByteArray damaged = bytes_of(path);
    ASSERT_GT(damaged.size(), 8192);
    // Page 2 holds the records' table: its header stops making sense.
    damaged.replace(4096, 16, QByteArray(16, '\x7f'));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    auto opened = Book::open(path);
    ASSERT_TRUE(std::holds_alternative<BookError>(opened));
    EXPECT_NE(std::get<BookError>(opened).message.find("壊れ"), std::string::npos);
    EXPECT_EQ(bytes_of(path), damaged);
}

TEST(BookFailures, ABookOfANewerVersionIsOnlyRead) {
    QTemporaryDir dir;
    const QString path = filled_book(dir);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion + 1));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("newer"));
    }
    const QByteArray before = bytes_of(path);
    const auto book = open_book(path);
    ASSERT_TRUE(book && book->read_only());
    EXPECT_EQ(records_of(*book).size(), kEveryKind.size());
    EXPECT_TRUE(std::holds_alternative<BookError>(book->save(entry("新しい人", "1", "2"))));
    EXPECT_TRUE(book->remove(records_of(*book).front().id));
    EXPECT_EQ(bytes_of(path), before);
}

TEST(BookFailures, AWriteWaitingTooLongForAnotherProgramIsReportedAndChangesNothing) {
    QTemporaryDir dir;
    const QString path = filled_book(dir);
    const auto other = open_book(path);
    const auto book = open_book(path, {.busy_timeout_ms = 100});
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    db.setDatabaseName(path);
    ASSERT_TRUE(db.open());
    ASSERT_TRUE(QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE")));
    const auto saved = book->save(entry("新しい人", "1", "2"));
    ASSERT_TRUE(std::holds_alternative<BookError>(saved));
    EXPECT_NE(std::get<BookError>(saved).message.find("待っても"), std::string::npos);
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    EXPECT_EQ(records_of(*other).size(), kEveryKind.size());
}

/// Runs SQL statements on a file as another program would.
void run_sql(const QString& path, const std::vector<const char*>& statements) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        for (const char* sql : statements) EXPECT_TRUE(QSqlQuery(db).exec(QString::fromUtf8(sql))) << sql;
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

TEST(BookFiles, EachBookIsReadOrRefusedWithItsReasonAndARefusedOneLeftAsItWas) {
    const struct {
        const char* what;
        const char* book; ///< a book of every kind (nullptr); a path in the test's folder ("@…"); a path
        std::vector<const char*> sql; ///< run on the book first (making the file when there is none)
        bool held;                    ///< while another program holds the write lock
        const char* action;
        int status;
        const char* shown; ///< in the error output, or in the output when the status is 0
    } cases[] = {
        {"a row another program changed",
         nullptr,
         {"UPDATE person SET hour = 'unknown' WHERE id = 1"},
         false,
         "--export",
         4,
         "名簿の1番の人（時分あり）を読めません: hour: "},
        {"a year that is no number",
         nullptr,
         {"UPDATE person SET year = 'x' WHERE id = 2"},
         false,
         "--list",
         4,
         "名簿の2番の人（時不明）を読めません: year: "},
        {"a database in memory",
         ":memory:",
         {},
         false,
         "--import",
         4,
         "名簿のファイル名ではありません（「:memory:」）"},
        {"a URI", "file:x?mode=memory", {}, false, "--import", 4, "名簿のファイル名ではありません"},
        {"an empty path", "", {}, false, "--list", 4, "名簿のファイル名ではありません（「」）"},
        {"a book not there, listed", "@typo/dir/x.sqlite3", {}, false, "--list", 4, "名簿がありません: "},
        {"a book not there, exported", "@x.sqlite3", {}, false, "--export", 4, "名簿がありません: "},
        {"an import into a folder not there",
         "@typo/x.sqlite3",
         {},
         false,
         "--import",
         4,
         "名簿を作るフォルダーがありません: "},
        {"a list while another program writes", nullptr, {}, true, "--list", 0, "時分あり\t"},
        {"a name of a tab and an escape",
         nullptr,
         {"UPDATE person SET name = 'a' || char(9) || char(27) WHERE id = 1"},
         false,
         "--list",
         0,
         "a\\x09\\x1B\tかな\t"},
        {"another program's file with a table of that name",
         "@foreign.sqlite3",
         {"CREATE TABLE person (id INTEGER PRIMARY KEY, name TEXT)", "INSERT INTO person VALUES (1, '花子')",
          "PRAGMA user_version = 1"},
         false,
         "--list",
         4,
         "Vantoraの名簿ではありません"},
        {"a version-1 book with a name given twice and its renaming",
         "@v1.sqlite3",
         {"CREATE TABLE person (id INTEGER PRIMARY KEY, name TEXT NOT NULL, kana TEXT NOT NULL DEFAULT '', "
          "memo "
          "TEXT NOT NULL DEFAULT '', year INTEGER, month INTEGER, day INTEGER, hour TEXT, minute TEXT, sex "
          "TEXT, "
          "offset_minutes TEXT, offset_seconds TEXT, created TEXT, changed TEXT)",
          "INSERT INTO person (name, year, month, day, hour, minute, sex, offset_minutes, offset_seconds) "
          "VALUES "
          "('花子', 1975, 3, 8, '1', '2', 'male', '0', '0'), ('花子', 1975, 3, 8, '1', '2', 'male', '0', "
          "'0'), "
          "('花子（2）', 1975, 3, 8, '1', '2', 'male', '0', '0')",
          "PRAGMA user_version = 1"},
         false,
         "--list",
         0,
         "花子（3）\t"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString given = QString::fromUtf8(c.book ? c.book : "");
        const QString path = !c.book                  ? filled_book(dir)
                             : given.startsWith(u'@') ? dir.filePath(given.mid(1))
                                                      : given;
        if (!c.sql.empty()) run_sql(path, c.sql);
        const QByteArray before = bytes_of(path);
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        holder.setDatabaseName(path);
        if (c.held) {
            ASSERT_TRUE(holder.open() && QSqlQuery(holder).exec(QStringLiteral("BEGIN IMMEDIATE")));
        }
        const std::string line = record_line({0, entry("新しい人", "1", "2"), {}, {}}, "2026-12-08T10:00:00");
        const CommandRun run = run_command({"--book", path, c.action}, line.c_str());
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        EXPECT_EQ(run.status, c.status) << c.what << ": " << run.err;
        EXPECT_NE((c.status ? run.err : run.out).find(c.shown), std::string::npos)
            << c.what << ": " << run.err;
        if (c.status != 0 || c.held) { // a refused book, or one only read, is left as it was
            EXPECT_EQ(bytes_of(path), before) << c.what;
        }
        if (given.startsWith(u'@') && c.sql.empty()) {
            EXPECT_FALSE(QFileInfo::exists(path)) << c.what;
        }
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral(":"))); // no folder named for ":memory:"
}

TEST(BookFiles, AnExportThatCannotBeWrittenWholeLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString book_path = filled_book(dir);
    const QString target = dir.filePath(QStringLiteral("people.jsonl"));
    const QByteArray old_file(100, 'o');
    for (const bool disk_full : {true, false}) {
        {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(old_file) == old_file.size());
        }
        // A full disk: no file may grow past 200 bytes (and the signal of that is ignored). An
        // unreadable row: the export fails before it writes.
        if (!disk_full) run_sql(book_path, {"UPDATE person SET minute = 'x' WHERE id = 3"});
        const auto book = open_book(book_path);
        rlimit before{};
        ::getrlimit(RLIMIT_FSIZE, &before);
        const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
        if (disk_full) {
            rlimit limited = before;
            limited.rlim_cur = 200;
            ::setrlimit(RLIMIT_FSIZE, &limited);
        }
        const auto error = export_book_file(*book, target);
        ::setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previous_handler);
        ASSERT_TRUE(error) << disk_full;
        EXPECT_EQ(bytes_of(target), old_file) << error->message;
    }
}

TEST(BookFailures, ARefusedEditEndsItsTransaction) {
    QTemporaryDir dir;
    const auto book = open_book(filled_book(dir));
    const auto records = records_of(*book);
    EXPECT_TRUE(book->edit(records[1].id, records[0].entry.name, "", "")); // a name taken
    EXPECT_TRUE(std::holds_alternative<Record>(book->save(entry("新しい人", "1", "2"))));
    EXPECT_EQ(records_of(*open_book(book->path())).size(), kEveryKind.size() + 1);
}

TEST(BookImport, InputsThatCannotBeReadWholeImportNothing) {
    const std::string good = record_line({0, entry("新しい人", "1", "2"), {}, {}}, "2026-12-08T10:00:00");
    const struct {
        const char* what;
        std::string input;
        bool folder; ///< a folder as the standard input: every read fails
        int status;
        const char* error;
    } cases[] = {
        {"a folder as input",
         {},
         true,
         5,
         "標準入力を読めません（フォルダーです）。何も読み込んでいません。"},
        {"a line past the batch's limit", good + "\n" + std::string(300 * 1024, 'x') + "\n", false, 1,
         "2行目: "},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = filled_book(dir);
        const QByteArray before = bytes_of(path);
        const CommandRun run = run_command({"--book", path, "--import"}, QByteArray::fromStdString(c.input),
                                           false, c.folder ? dir.path() : QString());
        EXPECT_EQ(run.status, c.status) << c.what << ": " << run.err;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << c.what << ": " << run.err;
        EXPECT_EQ(bytes_of(path), before) << c.what;
    }
}

TEST(BookImport, KillingTheCommandDuringAnImportLeavesNoneOrAll) {
    constexpr int kLines = 100000;
    QTemporaryDir dir;
    const QString path = filled_book(dir);
    std::string input;
    for (int i = 0; i < kLines; ++i) {
        Entry e = kEveryKind[static_cast<std::size_t>(i) % kEveryKind.size()];
        e.name = "人" + std::to_string(i);
        input += record_line({0, e, {}, {}}, "2026-12-08T10:00:00") + "\n";
    }
    const QString input_path = dir.filePath(QStringLiteral("people.jsonl"));
    {
        QFile file(input_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(input.data(), static_cast<qint64>(input.size()));
    }
    QProcess process;
    process.setStandardInputFile(input_path);
    process.start(kChartProgram, {"--book", path, "--import"});
    ASSERT_TRUE(process.waitForStarted());
    // Killed once the transaction has written a good part of its pages to the log.
    const QString wal = path + QStringLiteral("-wal");
    while (process.state() == QProcess::Running && QFileInfo(wal).size() < 2 * 1024 * 1024)
        QThread::msleep(1);
    process.kill();
    process.waitForFinished();
    EXPECT_EQ(process.exitStatus(), QProcess::CrashExit) << "the import ended before it could be killed";
    const auto book = open_book(path);
    ASSERT_TRUE(book);
    const std::size_t count = records_of(*book).size();
    EXPECT_TRUE(count == kEveryKind.size() || count == kEveryKind.size() + kLines) << count;
}

TEST(BookExport, TheBatchGivesTheChartsOfTheEntriesAsTypedIntoTheWindow) {
    QTemporaryDir dir;
    const QString path = filled_book(dir);
    const CommandRun exported = run_command({"--book", path, "--export"});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const CommandRun charts = run_command({"--batch"}, exported.out.c_str());
    ASSERT_EQ(charts.status, 0) << charts.err;
    const auto loaded = load_term_tables(VANTORA_BIN_DIR);
    ASSERT_TRUE(std::holds_alternative<TermTables>(loaded));
    std::istringstream lines(exported.out), outputs(charts.out);
    std::string line, output;
    for (const Entry& e : kEveryKind) {
        ASSERT_TRUE(std::getline(lines, line) && std::getline(outputs, output));
        request::Request by_hand =
            std::get<request::Request>(request::parse_batch_line(line)); // for its moment
        by_hand.record = request::birth_record(e.birth);
        const auto chart =
            std::get<Chart>(compute_chart(by_hand.record, by_hand.now, std::get<TermTables>(loaded)));
        EXPECT_EQ(json::parse(output), json::parse(request::chart_json(chart, by_hand).dump())) << e.name;
        EXPECT_EQ(chart.texts.txtBirthday, request::birthday_data(e.birth)) << e.name;
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv); // Qt SQL loads its driver as a plugin
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
