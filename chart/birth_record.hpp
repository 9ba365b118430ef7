// What the user entered about a birth, and the birth-date sentence built from it.
#pragma once

#include "chart/time_difference.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace vantora {

enum class Sex { female, male };

/// The civil years a chart is computed for.
inline constexpr int kFirstBirthYear = 1500, kLastBirthYear = 2099;

/// The inputs of one chart computation. Values are doubles as the input lists hold them.
struct BirthRecord {
    double birth_year = 0;   ///< civil year, kFirstBirthYear..kLastBirthYear
    double birth_month = 1;  ///< 1..12
    double birth_day = 1;    ///< 1..length of the month
    double birth_hour = 0;   ///< 0..23 of the standard clock (JST); 0 when unknown
    double birth_minute = 0; ///< 0..59; 0 when unknown
    bool hour_unknown = false;
    bool minute_unknown = false;
    Sex sex = Sex::female;
    /// Time difference of the birth place from 135° E (east positive): the offset minutes, the
    /// offset seconds that take the sign of the whole offset, and that sign.
    TimeDifference offset;
};

/// The birth fields as the main window holds them while they are being entered: each may still
/// be empty, and the hour and minute lists are recognised by their texts ("?" = not given).
struct BirthInputs {
    std::optional<double> year, month, day, hour, minute;
    std::string hour_text;   ///< shown text of the hour list: "", "?" or "0".."23"
    std::string minute_text; ///< shown text of the minute list: "", "?" or "0".."59"
};

/// The birth-date sentence (誕生日): "1975年3月8日14時5分", "…14時頃" when the minute list is
/// empty or "?", "…日出生時間不明" when the hour is "?". Empty fields write nothing.
std::string birthday_data(const BirthInputs& inputs);

/// The same sentence for a complete record.
std::string birthday_data(const BirthRecord& record);

} // namespace vantora
