// Many sines or cosines of angles in degrees at once, as the solar series and the nutation need
// them: through glibc's vector routines (libmvec, four angles per AVX2 instruction) where the
// processor has AVX2 and FMA, else one std::sin / std::cos at a time; and the checks that let a
// sum of vector terms stand for the scalar one.
#pragma once

#include <cstddef>
#include <span>

namespace vantora {

/// How a series' sines and cosines are evaluated. The vector routines differ from std::sin and
/// std::cos by a few units in the last place (kVectorSineDifference at most), so a sum of their
/// terms may differ in its last place too; callers decide with sum_rounds_alike whether that can
/// reach their result.
enum class SeriesMaths { scalar, vector };

/// Largest |vector − scalar| of one sine or cosine (results within −1..1): eight units of 2^-53,
/// twice the vector routines' documented error plus the scalar one's.
inline constexpr double kVectorSineDifference = 8 * 0x1p-53;

/// The vector path where the processor has AVX2 and FMA, else the scalar path.
SeriesMaths fastest_series_maths();

/// out[k] = cos(degrees[k] × kDegToRad) for every k; the two spans have the same size (any). Each
/// value depends only on its angle, never on its place in the span. SeriesMaths::vector on a
/// processor without AVX2 and FMA takes the scalar path.
void cos_deg_each(std::span<const double> degrees, std::span<double> out, SeriesMaths maths);

/// out[k] = sin(degrees[k] × kDegToRad), as cos_deg_each.
void sin_deg_each(std::span<const double> degrees, std::span<double> out, SeriesMaths maths);

/// A bound on how far Σ a_k × f_k, summed in order in doubles, can lie from the same sum of other
/// factors f'_k with |f_k − f'_k| ≤ kVectorSineDifference and |f_k| ≤ 1: the factors' difference
/// plus every rounding of both sums. amplitude_sum = Σ|a_k|, in the amplitudes' unit; terms = n.
double series_difference_bound(double amplitude_sum, std::size_t terms);

/// Whether a + b' rounds to the same double as a + b for every b' within `slack` of b: the exact
/// sum is further than `slack` from both rounding boundaries around the rounded one.
bool sum_rounds_alike(double a, double b, double slack);

} // namespace vantora
