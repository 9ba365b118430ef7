// The AVX2 half of angle_series.cpp, the only file built with -mavx2 -mfma (and without
// contraction into fused multiply-adds, so that angle × kDegToRad rounds as on the scalar path).
// Called only after the processor was found to have AVX2 and FMA.
#include "core/units.hpp"

#include <immintrin.h>

#include <cstddef>

// glibc's libmvec: cosine and sine of four doubles (the vector ABI's AVX2 variant, "d", of cos and sin).
extern "C" __m256d _ZGVdN4v_cos(__m256d x);
extern "C" __m256d _ZGVdN4v_sin(__m256d x);

namespace vantora {
namespace {

/// f(degrees[k] × kDegToRad) for k < n, four at a time; the last, partial group through a
/// zero-padded copy, so that every angle goes through the same routine.
template <__m256d (*F)(__m256d)> void each(const double* degrees, double* out, std::size_t n) {
    const __m256d to_radians = _mm256_set1_pd(kDegToRad);
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4)
        _mm256_storeu_pd(out + k, F(_mm256_mul_pd(_mm256_loadu_pd(degrees + k), to_radians)));
    if (k == n) return;
    alignas(32) double in[4] = {0, 0, 0, 0}, result[4];
    for (std::size_t m = 0; k + m < n; ++m) in[m] = degrees[k + m];
    _mm256_store_pd(result, F(_mm256_mul_pd(_mm256_load_pd(in), to_radians)));
    for (std::size_t m = 0; k + m < n; ++m) out[k + m] = result[m];
}

} // namespace

void cos_deg_avx2(const double* degrees, double* out, std::size_t n) {
    each<_ZGVdN4v_cos>(degrees, out, n);
}

void sin_deg_avx2(const double* degrees, double* out, std::size_t n) {
    each<_ZGVdN4v_sin>(degrees, out, n);
}

} // namespace vantora
