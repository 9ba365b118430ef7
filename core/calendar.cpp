#include "core/calendar.hpp"

#include "core/integer_ops.hpp"

namespace vantora {

double julian_day(double year, double month, double day) {
    if (month < 3) { // January and February count as months 13 and 14 of the previous year
        year -= 1;
        month += 12;
    }
    const double gregorian = nearest(2 + floor_of(year / 400) - floor_of(year / 100));
    return floor_of(365.25 * year) + floor_of(30.59 * (month - 2)) + day + 1721086.5 + gregorian;
}

double julian_century(double jd) {
    return (jd - kJd1900) / kDaysPerJulianCentury;
}

std::int16_t weekday_no(std::int32_t n) {
    const auto w = static_cast<std::int16_t>((n + 3) % 7);
    return w == 0 ? std::int16_t{7} : w;
}

void set_month_days(MonthDays& month_days, double year) {
    month_days.days = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mod(year, 400) == 0 || (mod(year, 4) == 0 && mod(year, 100) != 0)) month_days.days[2] = 29;
}

std::int16_t year_cycle(double year) {
    auto n = static_cast<std::int16_t>(mod(year, 60) + 57);
    if (n > 60) n = static_cast<std::int16_t>(n - 60);
    return n;
}

std::int16_t month_cycle(double pillar_year, std::int16_t month_no) {
    if (month_no == 1) pillar_year += 1; // the 丑 month closes the pillar year, in the next civil year
    auto n = static_cast<std::int16_t>(12 * (mod(pillar_year, 5) + 1) + 1 + month_no);
    if (n > 60) n = static_cast<std::int16_t>(n - 60);
    return n;
}

std::int16_t day_cycle(std::int32_t n) {
    const auto c = static_cast<std::int16_t>((n - 9) % 60);
    return c == 0 ? std::int16_t{60} : c;
}

std::int32_t reduce_day_count(double jd) {
    auto n = static_cast<std::int64_t>(trunc_of(jd));
    if (n > 30000) n -= ((n - 30000 + 1199) / 1200) * 1200;
    return static_cast<std::int32_t>(n);
}

double term_longitude(int month, int kind) {
    double longitude = 15.0 * (2 * month + 17 + kind);
    if (longitude >= 360) longitude -= 360;
    return longitude;
}

} // namespace vantora
