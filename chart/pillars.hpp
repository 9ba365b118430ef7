// The rules that turn the true solar time and the Sun's longitude into the four pillars.
#pragma once

#include "core/calendar.hpp"

#include <cstdint>

namespace vantora {

/// A civil date and clock time, as corrected to true solar time.
struct ClockTime {
    double year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

/// Moves a clock time by correction_minutes (time difference plus equation of time). The
/// minute, hour, day and month are carried until each lies in its range (minute 0 ≤ m < 60,
/// hour 0..23), however large the correction; month_days gives the lengths of the months of
/// the clock's year.
ClockTime apply_correction(ClockTime clock, double correction_minutes, const MonthDays& month_days);

/// Solar month and the year of the year pillar.
struct SolarMonth {
    std::int16_t month_no = 0; ///< 1..12, 1 = the 丑 month starting at 285°, 2 = 寅 at 315° …
    double pillar_year = 0;    ///< year whose spring start (315°) opens the solar year
};

/// The solar month of a longitude L (degrees, 0 ≤ L < 360) in civil month `month` of `year`.
/// The year changes at 315° (立春), the months at 285° + 30° k; the civil month only decides the
/// year in December, January and February.
SolarMonth solar_month(double longitude, double month, double year);

/// The hour pillar's sexagenary number 1..60 from a whole hour 0..23 of true solar time and the
/// day stem 1..10. Hour 23 already takes the 子 hour of the following day's stem.
std::int16_t hour_cycle(double true_hour, int day_stem);

} // namespace vantora
