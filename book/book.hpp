// The chart book (名簿): the people whose charts a user reads, kept in one SQLite file.
//
// Every change is one transaction: it happens whole or not at all, and a failed change leaves the
// book as it was. A file that cannot be read, is damaged or was written by a newer program is
// never written to. Two programs may share one book; a writer waits for the other's lock up to
// the busy timeout. Errors are values with a Japanese sentence for the user.
#pragma once

#include "book/entry.hpp"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class QFileInfo;
class QSqlError;

namespace vantora::book {

/// Why the book could not do something, as a Japanese sentence for the user.
struct BookError {
    std::string message;
};

template <class T> using BookResult = std::variant<T, BookError>;

/// The schema version this program writes (PRAGMA user_version). Version 1 had no place column
/// and allowed two people of one name.
inline constexpr int kSchemaVersion = 2;

struct OpenOptions {
    /// How long a change waits for another program's lock before it gives up, milliseconds.
    int busy_timeout_ms = 5000;
    /// What open() does when there is no file: makes it and the folders on its path, makes it
    /// only in a folder that exists, or refuses (a command that only reads).
    enum class Creation { with_folders, in_existing_folder, never };
    Creation creation = Creation::with_folders;
};

/// What an import did: the people added and the people replaced (same name).
struct ImportCount {
    std::size_t added = 0, replaced = 0;
};

class Book {
public:
    /// Where the book lives unless the user names another file:
    /// QStandardPaths::AppDataLocation/charts.sqlite3.
    static QString default_path();

    /// Opens the book at `path` (a file's path: an empty path, ":memory:" and "file:" URIs are
    /// refused before anything is touched), creating it (and its folder) when there is no file. A file that
    /// is not an SQLite database, fails PRAGMA integrity_check or belongs to another program is
    /// refused. A file of a newer schema version, or one the user may not write, is opened read
    /// only (read_only_reason() says why). An older book is brought to kSchemaVersion in one
    /// transaction; if that fails the book is refused unchanged.
    static BookResult<std::unique_ptr<Book>> open(const QString& path, const OpenOptions& options = {});

    ~Book();
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    const QString& path() const { return path_; }
    /// Empty when the book can be written; otherwise why not (Japanese).
    const std::string& read_only_reason() const { return read_only_reason_; }
    bool read_only() const { return !read_only_reason_.empty(); }

    /// Every record, in the order they were first saved. A row whose birth does not pass the
    /// check (changed by another program) is an error naming the row, for this and the reads below.
    BookResult<std::vector<Record>> list() const;
    /// The records whose name, reading or memo contains `text` (all of them for an empty text),
    /// in the order of list().
    BookResult<std::vector<Record>> search(std::string_view text) const;
    /// The record of that exact name, if there is one.
    BookResult<std::optional<Record>> find(std::string_view name) const;

    /// Saves an entry under its name: a new record, or the record of the same name replaced
    /// (keeping its creation time). Returns the saved record.
    BookResult<Record> save(const Entry& entry);
    /// Changes the name, reading and memo of record `id`. A name that another record has is
    /// refused.
    std::optional<BookError> edit(std::int64_t id, const std::string& name, const std::string& kana,
                                  const std::string& memo);
    /// Deletes record `id`.
    std::optional<BookError> remove(std::int64_t id);
    /// Saves many records in one transaction: all of them or, on any failure, none. A record
    /// whose name is already in the book replaces it. Empty creation or change times become now;
    /// ids are ignored.
    BookResult<ImportCount> import_records(const std::vector<Record>& records);

private:
    Book() = default;

    /// The steps of open(): the read-only look at an existing file (refused, or found sound and
    /// perhaps only readable), the connection that writes, and the schema brought up to date.
    std::optional<BookError> inspect(const QFileInfo& file);
    std::optional<BookError> open_for_writing();
    std::optional<BookError> migrate();
    std::optional<BookError> use_wal();
    /// The driver option of the busy timeout.
    QString busy_option() const;

    /// Runs `change` inside BEGIN IMMEDIATE … COMMIT; on any failure rolls back and returns the
    /// error (with the book unchanged). Refused at once on a read-only book.
    std::optional<BookError> write(const std::function<std::optional<BookError>()>& change);
    BookResult<std::vector<Record>> select(const QString& where, const QString& argument) const;
    /// The Japanese sentence for a failed write.
    BookError write_error(const QSqlError& error) const;

    QString path_;
    QString connection_;
    QSqlDatabase db_;
    std::string read_only_reason_;
    bool needs_migration_ = true; ///< false once inspect() found the schema of this version
    int busy_timeout_ms_ = 0;
};

/// Now as the book writes times: UTC, ISO 8601 to the second ("2026-12-08T09:15:00Z").
std::string now_text();

} // namespace vantora::book
