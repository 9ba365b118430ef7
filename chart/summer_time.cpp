#include "chart/summer_time.hpp"

namespace vantora {
namespace {

/// A summer: the clock's first day (summer time from 1:00) and last day (summer time until 0:59,
/// which then comes again in standard time), each as year·10000 + month·100 + day.
struct SummerPeriod {
    int first_day, last_day;
};
constexpr SummerPeriod kSummers[] = {
    {19480502, 19480912},
    {19490403, 19490911},
    {19500507, 19500910},
    {19510506, 19510909},
};

} // namespace

SummerClock summer_clock(int year, int month, int day, int hour) {
    const int date = year * 10000 + month * 100 + day;
    for (const SummerPeriod& summer : kSummers) {
        if (date == summer.first_day) return hour == 0 ? SummerClock::skipped : SummerClock::summer;
        if (date == summer.last_day) return hour == 0 ? SummerClock::repeated : SummerClock::standard;
        if (date > summer.first_day && date < summer.last_day) return SummerClock::summer;
    }
    return SummerClock::standard;
}

} // namespace vantora
