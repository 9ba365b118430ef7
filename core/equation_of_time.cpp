#include "core/equation_of_time.hpp"

#include "core/angles.hpp"

#include <cmath>

namespace vantora {

double obliquity(double t) {
    return 23.452294 - 0.0130125 * t - 1.64e-6 * t * t + 5.03e-7 * t * t * t;
}

double mean_longitude(double t) {
    return normalize_degrees(279.696678 + 36000.768925 * t + 3.025e-4 * t * t);
}

double perigee_longitude(double t) {
    return normalize_degrees(281.2206 + 1.717697 * t + 4.83333e-4 * t * t + 2.77777e-6 * t * t * t);
}

double eccentricity(double t) {
    return 0.0167498 - 4.258e-5 * t - 1.37e-7 * t * t;
}

double equation_of_time(double obliquity, double mean_longitude, double /*perigee*/, double mean_anomaly,
                        double eccentricity) {
    const double half_tan = std::tan(obliquity * kEotPi / 360);
    const double y = half_tan * half_tan;
    const double e = eccentricity;
    const double l2 = mean_longitude * kEotPi / 90; // 2L in radians
    const double l4 = mean_longitude * kEotPi / 45; // 4L
    const double m = mean_anomaly * kEotPi / 180;
    const double m2 = mean_anomaly * kEotPi / 90;
    return y * std::sin(l2) - 2 * e * std::sin(m) + 4 * e * y * std::sin(m) * std::cos(l2) -
           0.5 * y * y * std::sin(l4) - 1.25 * e * e * std::sin(m2);
}

} // namespace vantora
