#include "chart/relations.hpp"

#include "core/names.hpp"

#include <algorithm>

namespace vantora {
namespace {

/// Index 1.. of a character in a name table; 0 (a compile error where the tables below are built)
/// for a character it does not hold.
template <std::size_t N>
constexpr int index_of(const std::array<std::string_view, N>& names, std::string_view ch) {
    for (std::size_t i = 1; i < N; ++i)
        if (names[i] == ch) return static_cast<int>(i);
    return 0;
}

/// Every kanji of the tables is three bytes of UTF-8; entries are separated by one space.
constexpr std::size_t kCharBytes = 3;

/// The pairs of one kind, written as the practitioners' lists write them ("子丑 寅亥 …").
struct PairList {
    RelationKind kind;
    std::string_view pairs;
};

constexpr PairList kBranchPairs[] = {
    {RelationKind::branch_combination, "子丑 寅亥 卯戌 辰酉 巳申 午未"},
    {RelationKind::half_harmony, "申子 子辰 亥卯 卯未 寅午 午戌 巳酉 酉丑"},
    {RelationKind::clash, "子午 丑未 寅申 卯酉 辰戌 巳亥"},
    {RelationKind::punishment, "寅巳 巳申 寅申 丑戌 戌未 丑未 子卯"},
    {RelationKind::self_punishment, "辰辰 午午 酉酉 亥亥"},
    {RelationKind::harm, "子未 丑午 寅巳 卯辰 申亥 酉戌"},
    {RelationKind::destruction, "子酉 丑辰 寅亥 卯午 巳申 未戌"},
};
constexpr std::string_view kStemCombinations = "甲己 乙庚 丙辛 丁壬 戊癸";

/// The groups of three of one kind ("申子辰 …"), matched in any order of the pillars.
struct GroupList {
    RelationKind kind;
    std::string_view groups;
};
constexpr GroupList kBranchGroups[] = {
    {RelationKind::three_harmony, "申子辰 亥卯未 寅午戌 巳酉丑"},
    {RelationKind::directional_harmony, "寅卯辰 巳午未 申酉戌 亥子丑"},
    {RelationKind::punishment, "寅巳申 丑戌未"},
};

/// Bit k set when a pair of branches (either order) makes the RelationKind k; row and column 0
/// (no branch) stay empty.
using PairTable = std::array<std::array<std::uint16_t, 13>, 13>;

constexpr std::uint16_t bit(RelationKind kind) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(kind));
}

template <std::size_t N>
constexpr void mark_pairs(PairTable& table, const std::array<std::string_view, N>& names, RelationKind kind,
                          std::string_view pairs) {
    for (std::size_t at = 0; at < pairs.size(); at += 2 * kCharBytes + 1) {
        const int a = index_of(names, pairs.substr(at, kCharBytes));
        const int b = index_of(names, pairs.substr(at + kCharBytes, kCharBytes));
        if (a == 0 || b == 0) throw "a character outside the name table";
        table[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] |= bit(kind);
        table[static_cast<std::size_t>(b)][static_cast<std::size_t>(a)] |= bit(kind);
    }
}

constexpr PairTable kBranchPairTable = [] {
    PairTable table{};
    for (const PairList& list : kBranchPairs) mark_pairs(table, branch_name, list.kind, list.pairs);
    return table;
}();

constexpr PairTable kStemPairTable = [] {
    PairTable table{};
    mark_pairs(table, stem_name, RelationKind::stem_combination, kStemCombinations);
    return table;
}();

/// A group of three branches, each 1..12, with the kind it makes.
struct BranchGroup {
    RelationKind kind;
    std::array<int, 3> branches;
};

constexpr auto kGroupTable = [] {
    std::array<BranchGroup, 10> table{};
    std::size_t n = 0;
    for (const GroupList& list : kBranchGroups) {
        for (std::size_t at = 0; at < list.groups.size(); at += 3 * kCharBytes + 1) {
            BranchGroup& g = table[n++];
            g.kind = list.kind;
            for (std::size_t k = 0; k < 3; ++k) {
                g.branches[k] = index_of(branch_name, list.groups.substr(at + k * kCharBytes, kCharBytes));
                if (g.branches[k] == 0) throw "a character outside the name table";
            }
        }
    }
    if (n != table.size()) throw "the group table's size is not the number of groups listed";
    return table;
}();

std::string chars_of(std::span<const StemBranch> pillars, std::span<const std::uint8_t> members, bool stems) {
    std::string text;
    for (const std::uint8_t m : members)
        text += stems ? stem_name[static_cast<std::size_t>(pillars[m].stem)]
                      : branch_name[static_cast<std::size_t>(pillars[m].branch)];
    return text;
}

void add_pair(std::vector<Relation>& out, std::span<const StemBranch> pillars, std::uint8_t i,
              std::uint8_t j) {
    const StemBranch a = pillars[i], b = pillars[j];
    const unsigned kinds =
        kStemPairTable[static_cast<std::size_t>(a.stem)][static_cast<std::size_t>(b.stem)] |
        kBranchPairTable[static_cast<std::size_t>(a.branch)][static_cast<std::size_t>(b.branch)];
    for (std::size_t k = 0; k < relation_kind_name.size(); ++k) {
        const auto kind = static_cast<RelationKind>(k);
        if ((kinds & bit(kind)) == 0) continue;
        Relation r{kind, {i, j, 0}, 2, {}};
        r.chars = chars_of(pillars, r.members(), kind == RelationKind::stem_combination);
        out.push_back(std::move(r));
    }
}

void add_group(std::vector<Relation>& out, std::span<const StemBranch> pillars, std::uint8_t i,
               std::uint8_t j, std::uint8_t k) {
    std::array<int, 3> present{pillars[i].branch, pillars[j].branch, pillars[k].branch};
    std::ranges::sort(present);
    for (const BranchGroup& g : kGroupTable) {
        std::array<int, 3> wanted = g.branches;
        std::ranges::sort(wanted);
        if (present != wanted) continue;
        Relation r{g.kind, {i, j, k}, 3, {}};
        r.chars = chars_of(pillars, r.members(), false);
        out.push_back(std::move(r));
    }
}

} // namespace

std::string_view relation_kind_text(RelationKind kind) {
    return relation_kind_name[static_cast<std::size_t>(kind)];
}

std::vector<Relation> pair_relations(StemBranch a, StemBranch b) {
    const std::array<StemBranch, 2> pillars{a, b};
    return find_relations(pillars);
}

std::vector<Relation> find_relations(std::span<const StemBranch> pillars, std::size_t involving) {
    std::vector<Relation> out;
    const auto n = static_cast<std::uint8_t>(std::min<std::size_t>(pillars.size(), 8));
    const auto takes_part = [&](std::initializer_list<std::uint8_t> members) {
        const bool all_known =
            std::ranges::all_of(members, [&](std::uint8_t m) { return pillars[m].known(); });
        return all_known && (involving >= n || std::ranges::find(members, involving) != members.end());
    };
    for (std::uint8_t i = 0; i < n; ++i)
        for (std::uint8_t j = i + 1; j < n; ++j)
            if (takes_part({i, j})) add_pair(out, pillars, i, j);
    for (std::uint8_t i = 0; i < n; ++i)
        for (std::uint8_t j = i + 1; j < n; ++j)
            for (std::uint8_t k = j + 1; k < n; ++k)
                if (takes_part({i, j, k})) add_group(out, pillars, i, j, k);
    return out;
}

} // namespace vantora
