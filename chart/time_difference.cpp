#include "chart/time_difference.hpp"

#include "chart/number_text.hpp"
#include "core/units.hpp"

#include <cmath>

namespace vantora {

TimeDifference read_time_difference(std::string_view minutes_text, std::string_view seconds_text) {
    TimeDifference difference;
    difference.minutes = numeric_value(minutes_text);
    difference.seconds = numeric_value(seconds_text);
    const auto first = minutes_text.find_first_not_of(" \t");
    difference.negative =
        difference.minutes < 0 || (first != std::string_view::npos && minutes_text[first] == '-');
    return difference;
}

Dms split_dms(double degrees) {
    const double d = std::floor(degrees);
    const double m = (degrees - d) * 60.0;
    const double mm = std::floor(m);
    const double s = (m - mm) * 60.0;
    const double ss = std::floor(s);
    return {static_cast<int>(d), static_cast<int>(mm), static_cast<int>(ss)};
}

Dms split_dms(float degrees) {
    const float d = std::floor(degrees);
    const float fraction = degrees - d;
    const float m = fraction * 60.0f;
    const float mm = std::floor(m);
    const float minute_fraction = m - mm;
    const float s = minute_fraction * 60.0f;
    const float ss = std::floor(s);
    return {static_cast<int>(d), static_cast<int>(mm), static_cast<int>(ss)};
}

double longitude_from_texts(std::string_view degrees, std::string_view minutes, std::string_view seconds) {
    return numeric_value(degrees) + numeric_value(minutes) / 60.0 + numeric_value(seconds) / 3600.0;
}

TimeDifferenceTexts time_difference_texts(double lon) {
    const double v = (lon - kStandardMeridian) * kMinutesOfTimePerDegree;
    const double whole = std::trunc(v);
    const double magnitude = std::fabs(v);
    const double seconds = std::trunc((magnitude - std::trunc(magnitude)) * 60.0);

    TimeDifferenceTexts texts;
    // A zero minutes text would lose the sign of the seconds; the window reads "-0" as west.
    if (whole == 0.0 && v < 0.0) {
        texts.minutes = "-0";
    } else {
        texts.minutes = std::to_string(static_cast<long long>(whole));
    }
    texts.seconds = std::to_string(static_cast<long long>(seconds));
    return texts;
}

TimeDifferenceTexts decided_time_difference(double lon) {
    const Dms shown = split_dms(lon);
    return time_difference_texts(shown.degrees + shown.minutes / 60.0 + shown.seconds / 3600.0);
}

} // namespace vantora
