// The chart book as JSON lines, one person a line: the keys of the chart command's batch (so an
// exported file is valid input for `vantora-chart --batch`, which ignores the other keys) plus
// name, kana, memo and the book's own keys place_name, no_minute, created and changed.
#pragma once

#include "book/book.hpp"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace vantora::book {

/// One line of an export (no line break). `now` is the batch key "now", local time
/// "YYYY-MM-DDTHH:MM:SS": the moment the chart command computes the age and current luck for.
/// A minute list on which nothing was chosen is written as "?" with "no_minute": true.
std::string record_line(const Record& record, const std::string& now);

/// Writes every record of the book, one line each, in the order of Book::list().
std::optional<BookError> export_book(const Book& book, std::ostream& out);

/// Writes the export into the file at path through a new file that takes the old one's place
/// only when written whole: a full disk or an unreadable row leaves an existing file as it was.
std::optional<BookError> export_book_file(const Book& book, const QString& path);

/// A line of an import that cannot be read: its number (from 1) and what is wrong.
struct LineProblem {
    long line = 0;
    std::string message; ///< Japanese, naming the key: "month: 1〜12の範囲外です（13）"
};

struct ReadLines {
    std::vector<Record> records;
    std::vector<LineProblem> problems; ///< empty when every line is good
};

/// Reads export lines. Each must be a good batch line of the chart command with a non-empty
/// "name"; kana, memo and place_name are optional strings, no_minute an optional boolean, created
/// and changed optional ISO 8601 times. A line that names a "place" instead of the offsets gets
/// the place's name and the offsets the map's "決定" writes for it. A name that occurs twice is a
/// problem of its second line.
/// Blank lines are skipped.
ReadLines read_record_lines(std::istream& in);

/// The local time now in the form of the batch key "now".
std::string local_now_text();

} // namespace vantora::book
