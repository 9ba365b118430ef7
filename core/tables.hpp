// The term tables of the solar theory: the planetary perturbations read from the term files.
#pragma once

#include <array>
#include <cstdint>

namespace vantora {

/// One planetary perturbation term of the Sun's longitude and distance:
/// A × cos(α − i × M_p − j × g) in longitude and B × cos(β − i × M_p − j × g) in log₁₀ distance,
/// M_p being the mean anomaly of body p and g the Earth's perturbed mean anomaly.
struct PlanetTerm {
    std::int16_t p; ///< body 1..6: Mercury, Venus, Earth, Mars, Jupiter, Saturn
    std::int16_t i; ///< multiplier of the body's mean anomaly
    std::int16_t j; ///< multiplier of g
    double a;       ///< amplitude in longitude, seconds of arc
    double alpha;   ///< phase in longitude, degrees
    double b;       ///< amplitude in log₁₀ distance, units of 1e-9
    double beta;    ///< phase in distance, degrees
};

/// One planetary perturbation term of the Sun's latitude: A × cos(α − i × M_p − j × g).
struct LatitudeTerm {
    std::int16_t p; ///< body 1..6
    std::int16_t i; ///< multiplier of the body's mean anomaly
    std::int16_t j; ///< multiplier of g
    double a;       ///< amplitude, seconds of arc
    double alpha;   ///< phase, degrees
};

inline constexpr std::size_t kPlanetTermCount = 120;
inline constexpr std::size_t kLatitudeTermCount = 34;

/// Both term tables, as read from planet.txt and latitude.txt.
struct TermTables {
    std::array<PlanetTerm, kPlanetTermCount> planet_terms{};
    std::array<LatitudeTerm, kLatitudeTermCount> latitude_terms{};
};

} // namespace vantora
