// Angle conventions of the solar theory: degrees at every interface, turned into radians
// through one fixed factor, and reduced to one turn by one fixed formula.
#pragma once

#include "core/units.hpp"

#include <cmath>

namespace vantora {

/// Sine and cosine of an angle in degrees, through kDegToRad.
inline double sin_deg(double degrees) {
    return std::sin(degrees * kDegToRad);
}
inline double cos_deg(double degrees) {
    return std::cos(degrees * kDegToRad);
}

/// x reduced to one turn as (x/360 − floor(x/360)) × 360, in degrees, 0 ≤ result < 360.
/// For a tiny negative x (about −1e-14) that formula rounds to exactly 360; the result is
/// then 0, so that callers comparing it with 30° boundaries always find a span.
inline double normalize_degrees(double x) {
    const double turns = x / 360.0;
    const double reduced = (turns - std::floor(turns)) * 360.0;
    return reduced >= 360.0 ? 0.0 : reduced;
}

} // namespace vantora
