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

/// The birth-date sentence (誕生日) from its parts: "1975年3月8日14時5分"; an empty part writes
/// nothing ("1975年月日時頃"); `hour_unknown` ends it with "出生時間不明" after the day, and without
/// `minute_given` it ends with "頃" after the hour.
std::string birthday_sentence(const std::optional<double>& year, const std::optional<double>& month,
                              const std::optional<double>& day, const std::optional<double>& hour,
                              const std::optional<double>& minute, bool hour_unknown, bool minute_given);

/// The sentence of a complete record.
std::string birthday_data(const BirthRecord& record);

} // namespace vantora
