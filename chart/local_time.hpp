// The present local date and time, as the chart takes it for the age, the current luck pillar
// and the time stamp of the export text.
#pragma once

#include <string>

namespace vantora {

/// A local date and time of the clock (seconds are kept only for the time stamp).
struct LocalDateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

/// The system clock now, in the local time zone.
LocalDateTime local_now();

/// The general date form of a Japanese locale: "2026/12/08 10:00:00"; the time is left out at
/// exactly midnight ("2026/12/08").
std::string general_date_text(const LocalDateTime& when);

} // namespace vantora
