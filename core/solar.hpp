// Newcomb's theory of the Sun: ecliptic longitude of date, distance and latitude.
#pragma once

#include "core/angle_series.hpp"
#include "core/tables.hpp"

#include <array>

namespace vantora {

/// Everything one solar computation leaves: the three results and the components they are
/// summed from (kept for checking and for tests).
struct SunPosition {
    double jd_now = 0; ///< Julian day of the computation
    std::array<double, 6>
        anomaly{}; ///< mean anomalies, degrees: Mercury, Venus, Earth (g), Mars, Jupiter, Saturn
    double sun_mean_anomaly =
        0;                      ///< the Sun's mean anomaly before the long-period terms, degrees, not reduced
    double long_period_sum = 0; ///< the three long-period terms, seconds of arc
    std::array<double, 5> lon_part{}; ///< longitude components, degrees: mean longitude, equation of centre,
                                      ///< planetary, lunar plus nutation, long-period
    std::array<double, 4> radius_part{}; ///< log₁₀ distance components: [1] elliptic and [3] lunar in 1e-8,
                                         ///< [2] planetary in 1e-9
    std::array<double, 4> lat_part{}; ///< latitude components, degrees: [2] planetary, [3] lunar
    double sun_longitude = 0; ///< geometric longitude of the true equinox of date, degrees, 0 ≤ λ < 360
    double sun_distance = 0;  ///< distance in astronomical units (about 0.983 … 1.017)
    double sun_latitude = 0;  ///< ecliptic latitude, degrees
    SeriesMaths maths = SeriesMaths::scalar; ///< how the series' sines and cosines were evaluated
};

/// Largest relative difference of sun_distance between the vector and the scalar path: the
/// planetary distance sum's slack (about 1e-18 in the exponent) and one more rounding of pow.
inline constexpr double kVectorDistanceDifference = 1e-15;

/// Which results a solar computation must deliver. Each component is summed only for the results
/// that need it; the other results are left 0, and so are the components that only they need.
enum class SunResults { all, longitude, distance };

/// The Sun at a civil date of Universal Time: year and month whole, day with the fraction of
/// the day (already shifted to UT by the caller). No aberration is applied; the caller removes
/// light time by a second call. The term tables supply the planetary perturbations.
/// With SeriesMaths::vector (where the processor allows it) the longitude and latitude are
/// exactly those of the scalar path: the latitude is always summed on it, and the position is
/// computed again on it whenever the vector sums could round the longitude otherwise. The distance may differ
/// by kVectorDistanceDifference (relative) at most; `maths` of the result tells which path the components
/// come from.
SunPosition calc_sun_position(double year, double month, double day, const TermTables& tables,
                              SunResults results = SunResults::all,
                              SeriesMaths maths = fastest_series_maths());

/// Nutation in longitude, degrees, by Woolard's 69-term series. Arguments in degrees (not
/// reduced): l the Moon's mean anomaly, l_sun the Sun's mean anomaly, f the Moon's argument of
/// latitude, d the Moon's mean elongation, node the longitude of the Moon's node; t in Julian
/// centuries from 1900 January 0.5.
double nutation_longitude(double l, double l_sun, double f, double d, double node, double t,
                          SeriesMaths maths = SeriesMaths::scalar);

/// How far nutation_longitude with SeriesMaths::vector may lie from the scalar result, degrees.
double nutation_difference_bound(double t);

} // namespace vantora
