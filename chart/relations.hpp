// The relations between pillars (関係): how stems combine (干合) and how branches combine, gather,
// clash, punish, harm and break each other (支合 三合 半会 方合 冲 刑 自刑 害 破). They are read
// among the natal pillars, between a luck or annual pillar and the natal pillars, and between the
// pillars of two charts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantora {

/// The kinds, in the order a pair of pillars lists them (the two- and three-pillar 刑 share one).
enum class RelationKind : std::uint8_t {
    stem_combination,    ///< 干合: 甲己 乙庚 丙辛 丁壬 戊癸
    branch_combination,  ///< 支合: 子丑 寅亥 卯戌 辰酉 巳申 午未
    three_harmony,       ///< 三合: all three of 申子辰 亥卯未 寅午戌 巳酉丑
    half_harmony,        ///< 半会: two of a 三合 of which one is its middle branch 子 卯 午 酉
    directional_harmony, ///< 方合: all three of 寅卯辰 巳午未 申酉戌 亥子丑
    clash,               ///< 冲: branches six apart
    punishment, ///< 刑: 寅巳 巳申 寅申 丑戌 戌未 丑未 子卯, and 寅巳申 丑戌未 all three
    self_punishment, ///< 自刑: 辰辰 午午 酉酉 亥亥
    harm,            ///< 害: 子未 丑午 寅巳 卯辰 申亥 酉戌
    destruction,     ///< 破: 子酉 丑辰 寅亥 卯午 巳申 未戌
};

/// The kinds' names by RelationKind, as the details, the JSON and the printed page show them.
inline constexpr std::array<std::string_view, 10> relation_kind_name{"干合", "支合", "三合", "半会", "方合",
                                                                     "冲",   "刑",   "自刑", "害",   "破"};

std::string_view relation_kind_text(RelationKind kind);

/// One pillar as the relations see it: stem 1..10 and branch 1..12. A pillar with stem 0 (an
/// unknown hour) takes no part.
struct StemBranch {
    int stem = 0, branch = 0;
    bool known() const { return stem != 0; }
};

/// One relation among the pillars searched.
struct Relation {
    RelationKind kind{};
    std::array<std::uint8_t, 3> pillars{}; ///< indices into the pillars searched, ascending
    std::uint8_t count = 2;                ///< 2 for a pair, 3 for a group of three
    std::string chars; ///< the stems (干合) or branches involved, in pillar order, e.g. "子午"

    std::span<const std::uint8_t> members() const { return {pillars.data(), count}; }
};

/// The relations of the pair a, b (pillars a then b): every kind they make, in RelationKind order,
/// with indices 0 and 1. None when either pillar takes no part.
std::vector<Relation> pair_relations(StemBranch a, StemBranch b);

/// The relations among up to eight pillars: first every pair (0,1), (0,2) … in that order with its
/// kinds in RelationKind order, then every group of three in the same order (三合, 方合, 刑 of
/// three). With `involving` < pillars.size(), only the relations that include that pillar. Pillars
/// that take no part (unknown hour) appear in none.
std::vector<Relation> find_relations(std::span<const StemBranch> pillars,
                                     std::size_t involving = static_cast<std::size_t>(-1));

} // namespace vantora
