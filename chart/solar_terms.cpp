#include "chart/solar_terms.hpp"

#include "chart/compute_chart.hpp"
#include "core/calendar.hpp"
#include "core/delta_t.hpp"
#include "core/integer_ops.hpp"
#include "core/solar.hpp"
#include "core/units.hpp"

#include <cmath>
#include <cstdio>

namespace vantora {
namespace {

/// The search stops when the longitude is this close, degrees (about 0.01 s of time).
constexpr double kLongitudeTolerance = 1e-7;
constexpr int kMaxSteps = 12;

/// a − b reduced to −180 < d ≤ 180 degrees.
double longitude_difference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return d;
}

} // namespace

ClockMinute clock_minute(double jd) {
    // The whole minutes since the day count's epoch, then the civil date of the day (Fliegel and
    // Van Flandern's integer form of the Gregorian calendar).
    const auto minutes = static_cast<std::int64_t>(nearest((jd + 0.5) * kMinutesPerDay));
    const std::int64_t day = minutes / static_cast<std::int64_t>(kMinutesPerDay);
    const std::int64_t in_day = minutes % static_cast<std::int64_t>(kMinutesPerDay);
    std::int64_t l = day + 68569;
    const std::int64_t n = 4 * l / 146097;
    l -= (146097 * n + 3) / 4;
    const std::int64_t i = 4000 * (l + 1) / 1461001;
    l = l - 1461 * i / 4 + 31;
    const std::int64_t j = 80 * l / 2447;
    const std::int64_t d = l - 2447 * j / 80;
    l = j / 11;
    const std::int64_t m = j + 2 - 12 * l;
    const std::int64_t y = 100 * (n - 49) + i + l;
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d), static_cast<int>(in_day / 60),
            static_cast<int>(in_day % 60)};
}

std::string clock_minute_text(const ClockMinute& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d", t.year, t.month, t.day, t.hour, t.minute);
    return text;
}

ClockSun sun_at_clock(double jd, const ChartRules& rules, const TermTables& tables) {
    // The solar theory takes a civil date; days counted from 0 January of the clock's year.
    const double year = clock_minute(jd).year;
    double day = jd - julian_day(year, 1, 0) - kStandardClockAheadOfUtDays;
    if (rules.clock_term_instant) day += delta_t_seconds(decimal_year(jd)) / kSecondsPerDay;
    const SunPosition first = calc_sun_position(year, 1, day, tables, SunResults::distance);
    day -=
        rules.clock_term_instant ? light_time_days(first.sun_distance) : calc_gosa(first.sun_distance, year);
    const SunPosition sun = calc_sun_position(year, 1, day, tables, SunResults::longitude);
    return {sun.sun_longitude, first.sun_distance, sun.lon_part[2]};
}

std::optional<double> sun_longitude_at_clock(double jd, const TermTables& tables, const ChartRules& rules) {
    const ClockSun sun = sun_at_clock(jd, rules, tables);
    if (!(sun.distance >= kMinSunDistance && sun.distance <= kMaxSunDistance)) return std::nullopt;
    if (!(sun.longitude >= 0 && sun.longitude < 360)) return std::nullopt;
    return sun.longitude;
}

std::optional<double> term_instant(double longitude, double jd_guess, const TermTables& tables,
                                   const ChartRules& rules) {
    double jd = jd_guess;
    for (int step = 0; step < kMaxSteps; ++step) {
        const std::optional<double> now = sun_longitude_at_clock(jd, tables, rules);
        if (!now) return std::nullopt;
        const double behind = longitude_difference(longitude, *now);
        jd += behind / kMeanMotionDegreesPerDay;
        if (std::abs(behind) < kLongitudeTolerance) return jd;
    }
    return std::nullopt;
}

} // namespace vantora
