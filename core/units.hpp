// Units of angle and time shared by the solar theory, the equation of time and the chart.
// Every conversion keeps the factor and the order of operations the results were fixed with.
#pragma once

namespace vantora {

/// Degrees to radians, as the solar theory and the nutation series use it (not a more precise π/180).
inline constexpr double kDegToRad = 0.017453292519943;
/// The value of π used by the equation of time and by its conversion to minutes of time.
inline constexpr double kEotPi = 3.14159265358979;

inline constexpr double kArcsecondsPerDegree = 3600.0;
/// The Earth turns 360° in 1440 minutes: four minutes of time per degree of longitude.
inline constexpr double kMinutesOfTimePerDegree = 4.0;

inline constexpr double kHoursPerDay = 24.0;
inline constexpr double kMinutesPerDay = 1440.0;
inline constexpr double kSecondsPerHour = 3600.0;
inline constexpr double kSecondsPerDay = 86400.0;

/// An hour angle in radians as minutes of time: r × 4 × 180 / π.
inline constexpr double radians_to_minutes_of_time(double radians) {
    return radians * kMinutesOfTimePerDegree * 180 / kEotPi;
}

} // namespace vantora
