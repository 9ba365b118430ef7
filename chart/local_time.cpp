#include "chart/local_time.hpp"

#include <cstdio>
#include <ctime>

namespace vantora {

LocalDateTime local_now() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

std::string general_date_text(const LocalDateTime& w) {
    char buffer[64];
    if (w.hour == 0 && w.minute == 0 && w.second == 0) {
        std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", w.year, w.month, w.day);
    } else {
        std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d %d:%02d:%02d", w.year, w.month, w.day, w.hour,
                      w.minute, w.second);
    }
    return buffer;
}

} // namespace vantora
