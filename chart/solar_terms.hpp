// The instants of the solar terms (節気): when the Sun, by the chart's own solar theory, reaches a
// longitude, told on the standard clock (JST). The months table of the readings ahead starts each
// solar month at its term (節入り).
#pragma once

#include "chart/chart_rules.hpp"
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

/// The Sun's mean motion, degrees per day: 360° in a tropical year of 365.2422 days.
inline constexpr double kMeanMotionDegreesPerDay = 360 / 365.2422;

/// The Sun as a chart reads it at one instant.
struct ClockSun {
    double longitude = 0; ///< apparent ecliptic longitude of date, degrees
    double distance = 0;  ///< astronomical units
    double planetary = 0; ///< the planetary perturbation within the longitude, degrees
};

/// The Sun at jd of a clock, unchecked. With the default (solar) term-instant rule the clock − 9 h
/// is read as universal time and the light time and the secular term of calc_gosa are removed, as
/// the chart takes it at a birth (whose clock is then the true solar time). With the clock rule jd
/// is of Japan standard time: − 9 h gives universal time, ΔT (delta_t_seconds) carries it to the
/// dynamical time of the solar theory, and only the light time is removed.
ClockSun sun_at_clock(double jd, const ChartRules& rules, const TermTables& tables);

/// The Sun's longitude, degrees 0 ≤ λ < 360, at jd of the clock under the rules; nullopt when the
/// tables give an impossible Sun.
std::optional<double> sun_longitude_at_clock(double jd, const TermTables& tables,
                                             const ChartRules& rules = {});

/// The instant, Julian day of the same clock, at which the Sun reaches longitude (degrees),
/// searched from jd_guess, which must lie within about ten days of it; the instant is good to
/// about a hundredth of a second. nullopt when the tables give an impossible Sun.
std::optional<double> term_instant(double longitude, double jd_guess, const TermTables& tables,
                                   const ChartRules& rules = {});

} // namespace vantora
