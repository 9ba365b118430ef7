#include "chart/readings_ahead.hpp"

#include "core/calendar.hpp"

#include <cmath>

namespace vantora {
namespace {

/// The mean length of a solar month, days: a tropical year of 365.2422 days over twelve.
constexpr double kMeanSolarMonthDays = 365.2422 / 12;
/// The longitude that opens the 寅 month (立春), degrees, and the width of a solar month.
constexpr double kSpringStartLongitude = 315, kSolarMonthDegrees = 30;

} // namespace

std::optional<std::vector<MonthReading>> months_of_year(const Chart& chart, int year,
                                                        const TermTables& tables) {
    const CycleReader reader(chart);
    std::vector<MonthReading> months;
    months.reserve(kSolarMonthsPerYear);
    // 立春 falls on 3–5 February; each later term about a mean solar month on.
    const double spring_guess = julian_day(year, 2, 4);
    for (std::size_t k = 0; k < kSolarMonthsPerYear; ++k) {
        MonthReading m;
        m.month_no = static_cast<int>(k + 1) % 12 + 1; // 2 (寅) … 12 (子), then 1 (丑)
        const double longitude =
            std::fmod(kSpringStartLongitude + kSolarMonthDegrees * static_cast<double>(k), 360.0);
        const std::optional<double> jd = term_instant(
            longitude, spring_guess + kMeanSolarMonthDays * static_cast<double>(k), tables, chart.rules);
        if (!jd) return std::nullopt;
        m.term_jd = *jd;
        m.term_start = clock_minute(*jd);
        const int n = month_cycle(year, static_cast<std::int16_t>(m.month_no));
        m.pillar = {stem_of(n), branch_of(n)};
        static_cast<CycleReading&>(m) = reader.read(m.pillar);
        months.push_back(std::move(m));
    }
    return months;
}

std::vector<DayReading> days_of_month(const Chart& chart, int year, int month, const LocalDateTime& now) {
    const CycleReader reader(chart);
    MonthDays month_days;
    set_month_days(month_days, year);
    std::vector<DayReading> days;
    days.reserve(static_cast<std::size_t>(month_days[month]));
    for (int d = 1; d <= month_days[month]; ++d) {
        DayReading r;
        r.day = d;
        const int n = day_cycle(reduce_day_count(julian_day(year, month, d)));
        r.pillar = {stem_of(n), branch_of(n)};
        r.today = now.year == year && now.month == month && now.day == d;
        static_cast<CycleReading&>(r) = reader.read(r.pillar);
        days.push_back(std::move(r));
    }
    return days;
}

} // namespace vantora
