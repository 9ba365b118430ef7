#include "chart/pillars.hpp"

#include "core/integer_ops.hpp"

namespace vantora {

ClockTime apply_correction(ClockTime clock, double correction_minutes, const MonthDays& month_days) {
    const double c = correction_minutes;
    if (c >= 0) {
        if (clock.minute + c >= 60) {
            clock.minute = clock.minute + c - 60;
            clock.hour += 1;
        } else {
            clock.minute += c;
        }
    } else if (clock.minute + c < 0) {
        clock.minute = clock.minute + 60 + c;
        clock.hour -= 1;
    } else {
        clock.minute += c;
    }
    // Corrections beyond an hour carry again, until every field is in range.
    while (clock.minute >= 60) clock.minute -= 60, clock.hour += 1;
    while (clock.minute < 0) clock.minute += 60, clock.hour -= 1;
    while (clock.hour >= 24) clock.hour -= 24, clock.day += 1;
    while (clock.hour < 0) clock.hour += 24, clock.day -= 1;
    while (clock.day > month_days[static_cast<int>(clock.month)]) {
        clock.day -= month_days[static_cast<int>(clock.month)];
        clock.month += 1;
        if (clock.month > 12) clock.month = 1, clock.year += 1;
    }
    while (clock.day <= 0) {
        clock.month -= 1;
        if (clock.month <= 0) clock.month = 12, clock.year -= 1;
        clock.day += month_days[static_cast<int>(clock.month)];
    }
    return clock;
}

SolarMonth solar_month(double l, double m, double year) {
    SolarMonth s{0, year};
    const auto set = [&s](int month_no, double pillar_year) {
        s.month_no = static_cast<std::int16_t>(month_no);
        s.pillar_year = pillar_year;
    };
    // Tried in order; a later match overrides an earlier one.
    if (315 <= l && l < 345) set(2, year);
    if ((345 <= l && l < 360) || (0 <= l && l < 15)) set(3, year);
    if (15 <= l && l < 45) set(4, year);
    if (45 <= l && l < 75) set(5, year);
    if (75 <= l && l < 105) set(6, year);
    if (105 <= l && l < 135) set(7, year);
    if (135 <= l && l < 165) set(8, year);
    if (165 <= l && l < 195) set(9, year);
    if (195 <= l && l < 225) set(10, year);
    if (225 <= l && l < 255) set(11, year);
    if (255 <= l && l < 285 && m == 12) set(12, year);
    if (l < 315 && m == 2) set(1, year - 1);
    if (285 <= l && l < 315 && m == 1)
        set(1, year - 1);
    else if (l < 285 && m == 1)
        set(12, year - 1);
    return s;
}

std::int16_t hour_cycle(double true_hour, int day_stem) {
    const auto k = static_cast<int>(trunc_of(nearest(true_hour + 1) / 2)); // 0..12; hours 23 and 0 are 子
    static constexpr int kFirstHourOfDayStem[] = {0, 1, 13, 25, 37, 49, 1, 13, 25, 37, 49};
    int n = k + kFirstHourOfDayStem[day_stem];
    if (n > 60) n = 1;
    return static_cast<std::int16_t>(n);
}

} // namespace vantora
