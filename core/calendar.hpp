// Calendar arithmetic: Julian days, weekdays, month lengths and the sexagenary counters.
// Dates are proleptic Gregorian throughout (no Julian-calendar switch before 1582).
#pragma once

#include <array>
#include <cstdint>

namespace vantora {

/// Julian day of JD 2415020.0, 1900 January 0.5: the epoch of the time argument T.
inline constexpr double kJd1900 = 2415020.0;
/// Days in a Julian century.
inline constexpr double kDaysPerJulianCentury = 36525.0;

/// Julian day of a civil date. year: Gregorian year (any sign); month 1..12; day: day of the
/// month plus the elapsed fraction of the day (0h gives a JD ending in .5; day 0 is the last day
/// of the previous month). No time zone is applied and nothing is validated.
/// julian_day(2000, 1, 1) = 2451544.5; julian_day(1900, 1, 0.5) = 2415020.0.
double julian_day(double year, double month, double day);

/// Time argument T: Julian centuries of 36525 days from JD 2415020.0.
double julian_century(double jd);

/// Weekday number 1..7 (1 = Sunday … 7 = Saturday) of the whole day count n = nearest(JD − 0.5),
/// JD being that of the date at 0h. weekday_no(2451544) = 7 (2000-01-01, Saturday).
std::int16_t weekday_no(std::int32_t n);

/// Days in each month of one year, January at index 1 (index 0 unused). All 0 until first set.
struct MonthDays {
    std::array<std::int16_t, 13> days{};
    std::int16_t operator[](int month) const { return days.at(static_cast<std::size_t>(month)); }
};

/// Fills month_days with the lengths of year's months (Gregorian leap rule:
/// February has 29 days when year mod 400 = 0, or year mod 4 = 0 and year mod 100 ≠ 0).
void set_month_days(MonthDays& month_days, double year);

/// Sexagenary number 1..60 of a year pillar: (year mod 60) + 57, less 60 above 60.
/// year_cycle(1984) = 1 (甲子), year_cycle(2000) = 17 (庚辰).
std::int16_t year_cycle(double year);

/// Sexagenary number 1..60 of a month pillar from the pillar year and the solar month 1..12
/// (month 1 is the 丑 month, which belongs to the following civil year).
/// month_cycle(1984, 2) = 3 (丙寅).
std::int16_t month_cycle(double pillar_year, std::int16_t month_no);

/// Sexagenary number 1..60 of a day pillar from a whole day count n (the truncated Julian day
/// at 0h, reduced as by reduce_day_count): (n − 9) mod 60, 0 read as 60.
/// day_cycle(29944) = 55 (戊午, 2000-01-01).
std::int16_t day_cycle(std::int32_t n);

/// The whole part of a Julian day reduced by steps of 1200 until it is at most 30000, so that
/// it fits the 16-bit day counter while keeping its residue modulo 60.
std::int32_t reduce_day_count(double jd);

/// Ecliptic longitude in degrees, 0 ≤ λ < 360, of a solar month's term: kind 0 its starting
/// term (month 1 → 285°, month 2 → 315° … month 12 → 255°), kind 1 its middle term, 15° later.
double term_longitude(int month, int kind);

/// Splits a sexagenary number 1..60 into its stem 1..10 and branch 1..12.
inline int stem_of(int n) {
    return n % 10 == 0 ? 10 : n % 10;
}
inline int branch_of(int n) {
    return n % 12 == 0 ? 12 : n % 12;
}

} // namespace vantora
