#include "core/angle_series.hpp"

#include "core/angles.hpp"

#include <cmath>
#include <limits>

namespace vantora {

#if VANTORA_VECTOR_MATHS
// In angle_series_avx2.cpp, compiled for AVX2; n any size.
void cos_deg_avx2(const double* degrees, double* out, std::size_t n);
void sin_deg_avx2(const double* degrees, double* out, std::size_t n);
#endif

namespace {

bool processor_has_vector_maths() {
#if VANTORA_VECTOR_MATHS
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return has;
#else
    return false;
#endif
}

} // namespace

SeriesMaths fastest_series_maths() {
    return processor_has_vector_maths() ? SeriesMaths::vector : SeriesMaths::scalar;
}

void cos_deg_each(std::span<const double> degrees, std::span<double> out, SeriesMaths maths) {
#if VANTORA_VECTOR_MATHS
    if (maths == SeriesMaths::vector && processor_has_vector_maths())
        return cos_deg_avx2(degrees.data(), out.data(), degrees.size());
#endif
    for (std::size_t k = 0; k < degrees.size(); ++k) out[k] = cos_deg(degrees[k]);
}

void sin_deg_each(std::span<const double> degrees, std::span<double> out, SeriesMaths maths) {
#if VANTORA_VECTOR_MATHS
    if (maths == SeriesMaths::vector && processor_has_vector_maths())
        return sin_deg_avx2(degrees.data(), out.data(), degrees.size());
#endif
    for (std::size_t k = 0; k < degrees.size(); ++k) out[k] = sin_deg(degrees[k]);
}

double series_difference_bound(double amplitude_sum, std::size_t terms) {
    // Each of the two sums carries at most (terms + 1) roundings of magnitude ≤ 2^-53 × Σ|a|
    // (products and additions, Higham's γ), with a 1 % margin for the second-order terms.
    constexpr double u = std::numeric_limits<double>::epsilon() / 2;
    return amplitude_sum * (kVectorSineDifference + 2.02 * static_cast<double>(terms + 1) * u);
}

bool sum_rounds_alike(double a, double b, double slack) {
    const double s = a + b;
    // Knuth's TwoSum: s + e is exactly a + b.
    const double b_part = s - a;
    const double e = (a - (s - b_part)) + (b - b_part);
    const double up = std::nextafter(s, std::numeric_limits<double>::infinity()) - s;
    const double down = s - std::nextafter(s, -std::numeric_limits<double>::infinity());
    return e + slack < up / 2 && slack - e < down / 2;
}

} // namespace vantora
