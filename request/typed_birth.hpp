// One birth as a person or a line gives it, before any check: the window's inputs, a batch line,
// a command's options and a row of the chart book all come to this one shape, and from it to the
// birth record a chart is computed from.
#pragma once

#include "chart/birth_record.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace vantora::request {

/// The fields of a birth as typed or chosen, UTF-8 texts.
struct TypedBirth {
    std::string year, month, day; ///< decimal texts; "" while not yet entered
    std::string hour;             ///< "0".."23", "?" unknown; "" while not yet chosen
    std::string minute;           ///< "0".."59", "?" unknown, "" when none was chosen (read as unknown)
    std::string sex;              ///< "male" or "female"
    /// The time difference from 135° E as the two boxes hold it: the minutes ("-0" is west) and
    /// the seconds as typed (any text; "abc" counts as 0).
    std::string offset_minutes = "0", offset_seconds = "0";
    /// The birth place by name. With both offsets empty the place is looked up and its offsets are
    /// the map's decision for its longitude; with offsets, it names the place they came from.
    std::optional<std::string> place;

    friend bool operator==(const TypedBirth&, const TypedBirth&) = default;

    /// True when the offsets are to be taken from the named place.
    bool offsets_from_place() const { return place && offset_minutes.empty() && offset_seconds.empty(); }
};

/// The year as typed, as a Western year's text: an era year ("昭和50", "S50", "平成元年", full- or
/// half-width) as the Western year it means, any other text unchanged. An era year that cannot be
/// read gives "" and its Japanese reason in `error`, when asked for.
std::string western_year_text(const std::string& year, std::string* error = nullptr);

/// "male" or "female", the words a typed birth uses for the sex.
const char* sex_word(Sex sex);

/// The birth record of a typed birth, unchecked: numbers read as the input lists read their texts,
/// an hour or minute "?" unknown, a minute "" (none chosen) unknown too, the sex "male" or else
/// female, the offsets by read_time_difference. The offsets of a place still to be looked up count
/// as 0 (check_birth looks it up).
BirthRecord birth_record(const TypedBirth& birth);

/// The birth-date sentence as the main window's txtBirthday shows it: "1975年3月8日14時5分",
/// "…14時頃" when the minute is "" or "?", "…日出生時間不明" when the hour is "?". Fields not yet
/// entered write nothing ("1975年月日時頃").
std::string birthday_data(const TypedBirth& birth);

} // namespace vantora::request
