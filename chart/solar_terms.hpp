// The instants of the solar terms (節気): when the Sun, by the chart's own solar theory, reaches a
// longitude, told on the standard clock (JST). The months table of the readings ahead starts each
// solar month at its term (節入り).
#pragma once

#include "core/tables.hpp"

#include <optional>
#include <string>

namespace vantora {

/// A date and clock time of the standard clock, to the minute.
struct ClockMinute {
    int year = 0, month = 1, day = 1, hour = 0, minute = 0;
    friend bool operator==(const ClockMinute&, const ClockMinute&) = default;
};

/// The Julian day of the standard clock nearest to jd in whole minutes, as a calendar date and
/// time (proleptic Gregorian).
ClockMinute clock_minute(double jd);

/// "2008-02-04T20:00".
std::string clock_minute_text(const ClockMinute& when);

/// The Sun's longitude, degrees 0 ≤ λ < 360, at jd of the standard clock, taken as the chart takes
/// it at a birth: the clock − 9 h read as universal time, less the light time and the secular
/// term of calc_gosa. nullopt when the tables give an impossible Sun.
std::optional<double> sun_longitude_at_clock(double jd, const TermTables& tables);

/// The instant, Julian day of the standard clock, at which the Sun reaches longitude (degrees),
/// searched from jd_guess, which must lie within about ten days of it; the instant is good to
/// about a hundredth of a second. nullopt when the tables give an impossible Sun.
std::optional<double> term_instant(double longitude, double jd_guess, const TermTables& tables);

} // namespace vantora
