// The name tables that turn indices into characters, and the term tables of the solar theory.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vantora {

/// Weekday characters, Sunday first (index = weekday number − 1).
inline constexpr std::array<std::string_view, 7> weekday_name{"日", "月", "火", "水", "木", "金", "土"};

/// Heavenly stems 甲…癸 at 1..10; index 0 is the placeholder "□" shown for an unknown value.
inline constexpr std::array<std::string_view, 11> stem_name{"□",  "甲", "乙", "丙", "丁", "戊",
                                                            "己", "庚", "辛", "壬", "癸"};

/// Earthly branches 子…亥 at 1..12; index 0 is the placeholder "□".
inline constexpr std::array<std::string_view, 13> branch_name{"□",  "子", "丑", "寅", "卯", "辰", "巳",
                                                              "午", "未", "申", "酉", "戌", "亥"};

/// The five ten-god categories, relative to the day stem: same element, produced, overcome,
/// overcoming, producing.
inline constexpr std::array<std::string_view, 5> relation_name{"比", "食", "財", "官", "印"};

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
