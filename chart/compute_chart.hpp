// The chart computation: from a birth record to the four pillars, hidden stems, element in
// season, luck pillars, age and weekday, with every text the chart shows.
#pragma once

#include "chart/birth_record.hpp"
#include "chart/chart.hpp"
#include "core/tables.hpp"

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
    std::string text() const { return eot_minutes_text + "分" + eot_seconds_text + "秒"; }
};
EquationOfTime calc_eot_minutes(double year, double month, double day);

/// Light time of the Sun at sun_distance AU plus the secular term growing from 1885, days.
double calc_gosa(double sun_distance, double birth_year);

/// Computes the whole chart of a birth at the present local time `now` (which fixes the age and
/// the current luck pillar). Pure: the result depends only on the arguments.
Chart compute_chart(const BirthRecord& record, const LocalDateTime& now, const TermTables& tables);

} // namespace vantora
