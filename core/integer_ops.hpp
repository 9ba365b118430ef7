// Integer operations shared by every calculation: they fix how reals become whole numbers,
// so that the calendar counters and the chart texts agree with each other everywhere.
#pragma once

#include <cmath>
#include <cstdint>

namespace vantora {

/// Greatest integer not above x (floor(-0.5) = -1).
inline double floor_of(double x) {
    return std::floor(x);
}

/// x cut toward zero (trunc(-1.5) = -1).
inline double trunc_of(double x) {
    return std::trunc(x);
}

/// Nearest integer, an exact half going to the even neighbour (nearest(2.5) = 2, nearest(3.5) = 4).
inline double nearest(double x) {
    return std::nearbyint(x);
}

/// a mod b: remainder of the division truncated toward zero, its sign that of a.
/// Non-integer operands are first taken to the nearest integer (ties to even).
/// b must not round to 0.
inline std::int64_t mod(double a, double b) {
    const auto ia = static_cast<std::int64_t>(nearest(a));
    const auto ib = static_cast<std::int64_t>(nearest(b));
    return ia % ib;
}

} // namespace vantora
