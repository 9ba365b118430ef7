// The relations between pillars: the pair tables against the arithmetic the kinds follow, then
// whole charts of births found by a search over 1960–1961, checked against listings written by hand.
#include "chart/compatibility.hpp"
#include "chart/compute_chart.hpp"
#include "chart/details.hpp"
#include "chart/relations.hpp"
#include "test_tables.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace vantora {
namespace {

/// The relations as "kind:pillars:chars" joined by spaces; pillars y m d h, then the cycle pillar X
/// or, comparing two charts, the second chart's Y M D H.
std::string listing(const std::vector<Relation>& relations, std::string_view letters = "ymdhX") {
    std::string text;
    for (const Relation& r : relations) {
        text += (text.empty() ? "" : " ") + std::string(relation_kind_text(r.kind)) + ":";
        for (const std::uint8_t m : r.members()) text += letters[m];
        text += ":" + r.chars;
    }
    return text;
}

bool has(const std::vector<Relation>& relations, RelationKind kind) {
    return std::ranges::any_of(relations, [kind](const Relation& r) { return r.kind == kind; });
}

TEST(RelationTables, EveryPairOfBranchesFollowsTheArithmeticOfItsKinds) {
    // Branches 1..12 from 子: 支合 sum to 3 (mod 12), 害 to 9, 冲 lie six apart, 破 three back from a
    // yang branch, 自刑 are 辰 午 酉 亥 twice; 半会 pairs a middle branch with one four away.
    const auto mod12 = [](int n) { return ((n % 12) + 12) % 12; };
    const std::set<int> middles{1, 4, 7, 10}, self{5, 7, 10, 12};
    const std::set<std::pair<int, int>> punishing{{3, 6}, {6, 9}, {3, 9}, {2, 11}, {11, 8}, {2, 8}, {1, 4}};
    for (int a = 1; a <= 12; ++a) {
        for (int b = 1; b <= 12; ++b) {
            const auto found = pair_relations({1, a}, {1, b});
            const bool combination = mod12(a + b) == 3, harm = mod12(a + b) == 9, clash = mod12(a - b) == 6;
            const bool destruction = a % 2 == 1 ? mod12(a - 3 - b) == 0 : mod12(a + 3 - b) == 0;
            const bool half = a != b && (middles.contains(a) || middles.contains(b)) &&
                              (mod12(a - b) == 4 || mod12(b - a) == 4);
            const bool punishment = punishing.contains({a, b}) || punishing.contains({b, a});
            const std::string at = std::to_string(a) + "," + std::to_string(b);
            EXPECT_EQ(has(found, RelationKind::branch_combination), combination) << at;
            EXPECT_EQ(has(found, RelationKind::harm), harm) << at;
            EXPECT_EQ(has(found, RelationKind::clash), clash) << at;
            EXPECT_EQ(has(found, RelationKind::destruction), destruction) << at;
            EXPECT_EQ(has(found, RelationKind::half_harmony), half) << at;
            EXPECT_EQ(has(found, RelationKind::punishment), punishment) << at;
            EXPECT_EQ(has(found, RelationKind::self_punishment), a == b && self.contains(a)) << at;
        }
    }
    for (int a = 1; a <= 10; ++a)
        for (int b = 1; b <= 10; ++b)
            EXPECT_EQ(has(pair_relations({a, 1}, {b, 1}), RelationKind::stem_combination),
                      (a - b + 10) % 10 == 5)
                << a << "," << b; // 甲己: stems five apart
}

BirthRecord birth(int year, int month, int day, int hour, int minute) {
    BirthRecord r;
    r.birth_year = year, r.birth_month = month, r.birth_day = day, r.birth_minute = minute;
    r.hour_unknown = hour < 0; // the hour list's "?": the record holds 0
    r.birth_hour = r.hour_unknown ? 0 : hour;
    r.sex = Sex::male;
    return r;
}

const LocalDateTime kNow{2026, 12, 8, 10, 0, 0};

Chart chart_of(const BirthRecord& r) {
    return std::get<Chart>(compute_chart(r, kNow, testing::real_tables()));
}

ChartDetails details_of(const BirthRecord& r) {
    return chart_details(chart_of(r), kNow);
}

TEST(NatalRelations, BirthsOfEachKindListThemInPillarOrderPairsFirst) {
    const struct {
        const char* birth; // male, at 135° E
        BirthRecord record;
        const char* relations;
    } cases[] = {
        {"1960-01-01 22:53 己亥 丙子 戊子 癸亥", birth(1960, 1, 1, 22, 53), "自刑:yh:亥亥 干合:dh:戊癸"},
        {"1960-01-04 01:32 己亥 丙子 辛卯 己丑", birth(1960, 1, 4, 1, 32),
         "半会:yd:亥卯 干合:md:丙辛 刑:md:子卯 支合:mh:子丑 方合:ymh:亥子丑"},
        {"1960-01-04 hour unknown", birth(1960, 1, 4, -1, 0), "半会:yd:亥卯 干合:md:丙辛 刑:md:子卯"},
        {"1960-01-07 04:11 己亥 丁丑 甲午 丙寅", birth(1960, 1, 7, 4, 11),
         "干合:yd:己甲 支合:yh:亥寅 破:yh:亥寅 害:md:丑午 半会:dh:午寅"},
        {"1960-04-28 16:44 庚子 庚辰 丙戌 丙申", birth(1960, 4, 28, 16, 44),
         "半会:ym:子辰 半会:yh:子申 冲:md:辰戌 三合:ymh:子辰申"},
        {"1961-03-01 15:54 辛丑 庚寅 癸巳 庚申", birth(1961, 3, 1, 15, 54),
         "刑:md:寅巳 害:md:寅巳 冲:mh:寅申 刑:mh:寅申 支合:dh:巳申 刑:dh:巳申 破:dh:巳申 刑:mdh:寅巳申"},
        {"1961-07-04 14:33 辛丑 甲午 戊戌 己未", birth(1961, 7, 4, 14, 33),
         "害:ym:丑午 刑:yd:丑戌 冲:yh:丑未 刑:yh:丑未 半会:md:午戌 干合:mh:甲己 支合:mh:午未 刑:dh:戌未 "
         "破:dh:戌未 "
         "刑:ydh:丑戌未"},
    };
    for (const auto& c : cases) EXPECT_EQ(listing(details_of(c.record).relations), c.relations) << c.birth;
}

TEST(CycleRelations, LuckAndAnnualPillarsOfOneBirthShowEveryKind) {
    // 1960-01-07 04:11, male: 己亥 丁丑 甲午 丙寅, luck pillars backward from 丁丑.
    const ChartDetails d = details_of(birth(1960, 1, 7, 4, 11));
    const struct {
        const char* pillar;
        const std::vector<Relation>& relations;
        const char* expected;
    } cases[] = {
        {"luck 1 丙子", d.luck[1].relations, "支合:mX:丑子 冲:dX:午子 方合:ymX:亥丑子"},
        {"luck 2 乙亥", d.luck[2].relations, "自刑:yX:亥亥 支合:hX:寅亥 破:hX:寅亥"},
        {"luck 3 甲戌", d.luck[3].relations, "干合:yX:己甲 刑:mX:丑戌 半会:dX:午戌 三合:dhX:午寅戌"},
        {"luck 5 壬申", d.luck[5].relations, "害:yX:亥申 干合:mX:丁壬 冲:hX:寅申 刑:hX:寅申"},
        {"2026 丙午", d.years[0].relations, "害:mX:丑午 自刑:dX:午午 半会:hX:寅午"},
        {"2033 癸丑", d.years[7].relations, "害:dX:午丑"},
    };
    for (const auto& c : cases) EXPECT_EQ(listing(c.relations), c.expected) << c.pillar;
}

TEST(Compatibility, TwoChartsListTheirCrossRelationsDayStemNamesAndVoids) {
    // 1960-01-07 04:11 己亥 丁丑 甲午 丙寅 (void 辰巳) with 1985-07-24 06:30 乙丑 癸未 甲子 丁卯 (void 戌亥).
    const Chart first = chart_of(birth(1960, 1, 7, 4, 11));
    BirthRecord second_birth = birth(1985, 7, 24, 6, 30);
    const Chart second = chart_of(second_birth);
    const Compatibility c = compare_charts(first, second);
    EXPECT_EQ(
        listing(c.relations, "ymdhYMDH"),
        "干合:yD:己甲 半会:yH:亥卯 冲:mM:丑未 刑:mM:丑未 支合:mD:丑子 害:dY:午丑 支合:dM:午未 冲:dD:午子 "
        "破:dH:午卯");
    EXPECT_EQ(between_relation_text(c.relations[0], "Ａ", "Ｂ"), "Ａ年干・Ｂ日干　己甲　干合");
    const auto lines = compatibility_lines(c, first, second, "Ａ", "Ｂ");
    const std::vector<std::string> expected{
        "Ａの日干から見たＢの日干　比肩", "Ｂの日干から見たＡの日干　比肩",
        "Ａの空亡　辰巳（Ｂの年支・日支に当たらない）", "Ｂの空亡　戌亥（Ａの年支 亥に当たる）"};
    EXPECT_EQ(lines, expected);
    // With the second hour unknown, its hour pillar 丁卯 takes no part: 半会 and 破 go.
    second_birth.hour_unknown = true, second_birth.birth_hour = 0, second_birth.birth_minute = 0;
    EXPECT_EQ(listing(compare_charts(first, chart_of(second_birth)).relations, "ymdhYMDH"),
              "干合:yD:己甲 冲:mM:丑未 刑:mM:丑未 支合:mD:丑子 害:dY:午丑 支合:dM:午未 冲:dD:午子");
}

} // namespace
} // namespace vantora
