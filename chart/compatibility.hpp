// Two charts side by side (相性): the relations between each pillar of one and each pillar of the
// other, the day stems' ten-god names for each other, and each chart's void pair against the
// other's year and day branches. Plain listings: no scores, no verdicts.
#pragma once

#include "chart/details.hpp"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vantora {

/// One chart's void pair against the other chart's year and day branches.
struct VoidAgainst {
    VoidPair pair;           ///< this chart's void pair
    bool other_year = false; ///< the other chart's year branch is in it
    bool other_day = false;  ///< the other chart's day branch is in it
};

/// The readings of the pair of charts (first, second).
struct Compatibility {
    /// The relations of a pillar of the first chart (index 0..3 by PillarPlace) with one of the
    /// second (index 4..7, 4 + PillarPlace), pairs only, the first chart's pillars in order; an
    /// unknown hour takes no part.
    std::vector<Relation> relations;
    std::string_view second_day_for_first; ///< ten-god name of the second day stem for the first day stem
    std::string_view first_day_for_second; ///< ten-god name of the first day stem for the second day stem
    VoidAgainst first_void, second_void;
};

/// Index of the second chart's first pillar in Compatibility::relations.
inline constexpr std::uint8_t kSecondChartPillar = 4;

Compatibility compare_charts(const Chart& first, const Chart& second);

/// A relation between the charts as a line, each pillar part headed by its chart's label, e.g.
/// "Ａ年支・Ｂ日支　子午　冲".
std::string between_relation_text(const Relation& relation, std::string_view first_label,
                                  std::string_view second_label);

/// The day stems' names and the voids as lines, each chart named by its label, e.g.
/// "Ａの日干から見たＢの日干　比肩", "Ａの空亡　辰巳（Ｂの年支・日支に当たらない）",
/// "Ｂの空亡　戌亥（Ａの年支 亥に当たる）".
std::vector<std::string> compatibility_lines(const Compatibility& c, const Chart& first, const Chart& second,
                                             std::string_view first_label, std::string_view second_label);

} // namespace vantora
