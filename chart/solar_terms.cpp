#include "chart/solar_terms.hpp"

#include "chart/compute_chart.hpp"
#include "core/calendar.hpp"
#include "core/integer_ops.hpp"
#include "core/solar.hpp"
#include "core/units.hpp"

#include <cmath>
#include <cstdio>

namespace vantora {
namespace {

/// The Sun's mean motion, degrees per day: 360° in a tropical year of 365.2422 days.
constexpr double kMeanMotionDegreesPerDay = 360 / 365.2422;
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

std::optional<double> sun_longitude_at_clock(double jd, const TermTables& tables) {
    // The solar theory takes a civil date; days counted from 0 January of the clock's year.
    const double year = clock_minute(jd).year;
    const double day = jd - julian_day(year, 1, 0) - kStandardClockAheadOfUtDays;
    const SunPosition first = calc_sun_position(year, 1, day, tables, SunResults::distance);
    if (!(first.sun_distance >= kMinSunDistance && first.sun_distance <= kMaxSunDistance))
        return std::nullopt;
    const SunPosition sun =
        calc_sun_position(year, 1, day - calc_gosa(first.sun_distance, year), tables, SunResults::longitude);
    if (!(sun.sun_longitude >= 0 && sun.sun_longitude < 360)) return std::nullopt;
    return sun.sun_longitude;
}

std::optional<double> term_instant(double longitude, double jd_guess, const TermTables& tables) {
    double jd = jd_guess;
    for (int step = 0; step < kMaxSteps; ++step) {
        const std::optional<double> now = sun_longitude_at_clock(jd, tables);
        if (!now) return std::nullopt;
        const double behind = longitude_difference(longitude, *now);
        jd += behind / kMeanMotionDegreesPerDay;
        if (std::abs(behind) < kLongitudeTolerance) return jd;
    }
    return std::nullopt;
}

} // namespace vantora
