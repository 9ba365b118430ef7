#include "core/delta_t.hpp"

#include <array>
#include <cstddef>

namespace vantora {
namespace {

/// c0 + c1 t + c2 t² + … by Horner's rule.
template <std::size_t N> double polynomial(double t, const std::array<double, N>& c) {
    double sum = 0;
    for (std::size_t k = N; k-- > 0;) sum = sum * t + c[k];
    return sum;
}

double long_term_parabola(double y) {
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u;
}

} // namespace

double delta_t_seconds(double y) {
    if (y < 500 || y >= 2150) return long_term_parabola(y);
    if (y < 1600) {
        return polynomial((y - 1000) / 100, std::array{1574.2, -556.01, 71.23472, 0.319781, -0.8503463,
                                                       -0.005050998, 0.0083572073});
    }
    if (y < 1700) return polynomial(y - 1600, std::array{120.0, -0.9808, -0.01532, 1 / 7129.0});
    if (y < 1800)
        return polynomial(y - 1700, std::array{8.83, 0.1603, -0.0059285, 0.00013336, -1 / 1174000.0});
    if (y < 1860) {
        return polynomial(y - 1800, std::array{13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436,
                                               0.0000121272, -0.0000001699, 0.000000000875});
    }
    if (y < 1900) {
        return polynomial(y - 1860,
                          std::array{7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1 / 233174.0});
    }
    if (y < 1920) return polynomial(y - 1900, std::array{-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197});
    if (y < 1941) return polynomial(y - 1920, std::array{21.20, 0.84493, -0.076100, 0.0020936});
    if (y < 1961) return polynomial(y - 1950, std::array{29.07, 0.407, -1 / 233.0, 1 / 2547.0});
    if (y < 1986) return polynomial(y - 1975, std::array{45.45, 1.067, -1 / 260.0, -1 / 718.0});
    if (y < 2005) {
        return polynomial(y - 2000,
                          std::array{63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599});
    }
    if (y < 2050) return polynomial(y - 2000, std::array{62.92, 0.32217, 0.005589});
    return long_term_parabola(y) - 0.5628 * (2150 - y);
}

double decimal_year(double jd) {
    constexpr double kJd2000 = 2451544.5, kGregorianYearDays = 365.2425;
    return 2000 + (jd - kJd2000) / kGregorianYearDays;
}

} // namespace vantora
