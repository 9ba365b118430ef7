// Japan's summer time (夏時刻): four summers between 1948 and 1951 when the clocks ran one hour
// ahead of standard time. Each began at 24:00 of a Saturday, when the clocks jumped to 1:00 of
// the Sunday, and ended at 25:00 of a Saturday in September, when the clocks went back to 0:00
// of the Sunday; the periods are those of the time-zone database's Asia/Tokyo.
#pragma once

#include <string_view>

namespace vantora {

/// Where an hour of the clock stands against the summer-time periods.
enum class SummerClock {
    standard, ///< outside every period: the clock showed standard time
    summer,   ///< inside a period: the clock ran one hour ahead of standard time
    skipped,  ///< 0:00–0:59 of a first day: the clock never showed it
    repeated, ///< 0:00–0:59 of a last day: the clock showed it twice, in summer and in standard time
};

/// The hour `hour` 0..23 of the civil date year-month-day as the clock showed it.
SummerClock summer_clock(int year, int month, int day, int hour);

/// The one-line notice of a birth whose clock time lies in a summer-time period but was read as
/// standard time.
inline constexpr std::string_view kSummerTimeNotice =
    "夏時刻（サマータイム）実施期間中の時刻です。時計の時刻なら設定で補正できます";

} // namespace vantora
