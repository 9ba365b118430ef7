// One person of the chart book as the user entered them: the birth exactly as the main window's
// inputs held it, plus a name, its reading and a memo. The chart itself is never kept: it is
// computed again from the entry whenever it is needed.
#pragma once

#include "chart/birth_record.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace vantora::book {

/// What a person entered. Texts are UTF-8.
struct Entry {
    std::string name;   ///< required, unique in a book
    std::string kana;   ///< reading (よみがな); may be empty
    std::string memo;   ///< free text, may hold line breaks
    int year = 0;       ///< 1500..2099
    int month = 0;      ///< 1..12
    int day = 0;        ///< 1..length of the month
    std::string hour;   ///< text of the hour list: "0".."23" or "?"
    std::string minute; ///< text of the minute list: "0".."59", "?", or "" when none was chosen
    Sex sex = Sex::female;
    std::string offset_minutes = "0"; ///< the time-difference minutes text as shown ("-0" is west)
    std::string offset_seconds = "0"; ///< the seconds text as typed, any text ("abc" counts as 0)
    std::string place;                ///< name of the place the time difference came from; "" if none

    bool operator==(const Entry&) const = default;
};

/// An entry as the book keeps it.
struct Record {
    std::int64_t id = 0; ///< the book's key; 0 for a record not yet in a book
    Entry entry;
    std::string created; ///< UTC time of the first save, ISO 8601 "2026-12-08T09:15:00Z"
    std::string changed; ///< UTC time of the last change, same form

    bool operator==(const Record&) const = default;
};

/// Whether an entry can be kept and charted: a non-empty name and a birth that the chart command
/// accepts (year 1500..2099, a real date, hour "?" or 0..23, minute "", "?" or 0..59, offset
/// minutes an optional "-" and digits within −59..59, offset seconds at most 5 characters).
/// Returns the problem in Japanese, naming the field, or nothing when the entry is good.
std::optional<std::string> entry_problem(const Entry& entry);

/// The birth record the chart of an entry is computed from. A minute list on which nothing was
/// chosen counts as an unknown minute: both give minute 0 to the computation, and the birth text
/// then ends in "頃" as the window shows it.
BirthRecord birth_record(const Entry& entry);

/// The birth-date text of an entry as the main window's txtBirthday shows it
/// ("1975年3月8日14時5分", "…14時頃", "…日出生時間不明").
std::string birth_text(const Entry& entry);

/// "male" or "female", the words of the chart command.
const char* sex_word(Sex sex);

} // namespace vantora::book
