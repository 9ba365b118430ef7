// The equation of time from the elements of the Sun's apparent motion.
// These routines keep their own constants, apart from the solar theory.
#pragma once

#include "core/units.hpp"

namespace vantora {

/// Obliquity of the ecliptic ε, degrees (not reduced); t in Julian centuries from 1900 January 0.5.
double obliquity(double t);
/// The Sun's mean longitude L, degrees, 0 ≤ L < 360.
double mean_longitude(double t);
/// Longitude of the perigee ϖ, degrees, 0 ≤ ϖ < 360.
double perigee_longitude(double t);
/// Eccentricity of the Earth's orbit.
double eccentricity(double t);

/// Equation of time E in radians (apparent minus mean solar time, as an hour angle), from the
/// obliquity and mean longitude (degrees), the perigee (degrees, not used by the series), the
/// mean anomaly M = L − ϖ (degrees, not reduced) and the eccentricity:
/// E = y sin 2L − 2e sin M + 4ey sin M cos 2L − ½y² sin 4L − 1.25e² sin 2M, y = tan²(ε/2).
double equation_of_time(double obliquity, double mean_longitude, double perigee, double mean_anomaly,
                        double eccentricity);

} // namespace vantora
