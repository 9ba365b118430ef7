// The chart computation: from a birth record to the four pillars, hidden stems, element in
// season, luck pillars, age and weekday, with every text the chart shows.
#pragma once

#include "chart/birth_record.hpp"
#include "chart/chart.hpp"
#include "core/tables.hpp"

#include <string>
#include <variant>

namespace vantora {

/// The standard clock (JST) runs this many days ahead of Universal Time.
inline constexpr double kStandardClockAheadOfUtDays = 0.375;
/// Hour that stands in for an unknown birth hour.
inline constexpr double kUnknownHour = 12;

/// Equation of time at a civil date (day with the fraction of the day): zg2 in minutes of time
/// and its text "+16分25.3秒" / "-3分17.7秒". Seconds that would round to "60.0" are carried
/// into the minutes.
struct EquationOfTime {
    double zg2 = 0;
    std::string eot_minutes_text, eot_seconds_text;
    std::string text() const {
        std::string text = eot_minutes_text;
        text += "分";
        text += eot_seconds_text;
        text += "秒";
        return text;
    }
};
EquationOfTime calc_eot_minutes(double year, double month, double day);

/// Light time of the Sun at sun_distance AU, days.
double light_time_days(double sun_distance);

/// Light time of the Sun at sun_distance AU plus the secular term growing from 1885, days.
double calc_gosa(double sun_distance, double birth_year);

/// The Sun's distance, AU, that a solar position must lie within for the chart to use it. The
/// real distance stays within 0.983 … 1.017 AU, and term tables that load keep it within
/// 0.95 … 1.05; beyond these bounds the tables were not read from the term files.
inline constexpr double kMinSunDistance = 0.9, kMaxSunDistance = 1.1;

/// Why a chart cannot be computed: a Japanese sentence for the window, the command and a batch
/// line. `birth`: a field of the record lies outside its range; `terms`: the term tables give a
/// Sun no solar theory gives (a distance outside kMinSunDistance … kMaxSunDistance, a planetary
/// perturbation of the longitude beyond 5°, a longitude that is not finite or lies outside the
/// solar months of the civil month). Neither happens with a valid record and tables that load.
struct ChartError {
    enum class Cause { birth, terms };
    Cause cause = Cause::birth;
    std::string message;
};

/// A computed chart, or why there is none.
using ChartResult = std::variant<Chart, ChartError>;

/// Computes the whole chart of a birth at the present local time `now` (which fixes the age and
/// the current luck pillar). Pure: the result depends only on the arguments. The record must
/// hold a year 1500..2099, a month 1..12, a day of that month, an hour 0..23 and a minute 0..59,
/// all whole, and a time difference (minutes with seconds) within two days either way;
/// otherwise, or when the tables give an impossible Sun, the result is a ChartError and no
/// real number out of range ever becomes an index. `rules` chooses where schools differ; with
/// summer time on, a clock time that never was or was twice is an error too.
ChartResult compute_chart(const BirthRecord& record, const LocalDateTime& now, const TermTables& tables,
                          const ChartRules& rules = {});

} // namespace vantora
