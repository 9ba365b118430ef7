// The months and days ahead (月運・日運): the twelve solar months of a year and the days of a civil
// month, each pillar read against a natal chart. Computed only when asked for.
#pragma once

#include "chart/details.hpp"
#include "chart/solar_terms.hpp"
#include "core/tables.hpp"

#include <optional>
#include <vector>

namespace vantora {

inline constexpr std::size_t kSolarMonthsPerYear = 12;

/// One solar month: from its term (節入り) to the next month's.
struct MonthReading : CycleReading {
    int month_no = 0;       ///< solar month 1..12 as Chart::month_no (2 = 寅, opened by 立春)
    StemBranch pillar;      ///< the month's stem 1..10 and branch 1..12
    double term_jd = 0;     ///< the term's instant, Julian day of the standard clock
    ClockMinute term_start; ///< the same to the minute
};

/// The twelve months from 立春 (315°) of `year` to the 立春 of the next year, 寅 month first, read
/// against chart; nullopt when the tables give an impossible Sun.
std::optional<std::vector<MonthReading>> months_of_year(const Chart& chart, int year,
                                                        const TermTables& tables);

/// One civil day.
struct DayReading : CycleReading {
    int day = 0;        ///< 1..31
    StemBranch pillar;  ///< the day's stem and branch
    bool today = false; ///< the present day
};

/// The days of civil month `month` 1..12 of `year` (any Gregorian year), read against chart; `now`
/// marks the present day.
std::vector<DayReading> days_of_month(const Chart& chart, int year, int month, const LocalDateTime& now);

} // namespace vantora
