// The detail readings: ten-god names, twelve stages, void pairs and the annual pillars, checked
// against listings written out by hand from the rules (one row per day stem).
#include "chart/compute_chart.hpp"
#include "chart/details.hpp"
#include "core/names.hpp"
#include "request/batch_line.hpp"
#include "request/chart_json.hpp"
#include "test_tables.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace vantora {
namespace {

std::vector<std::string> words(const char* row) {
    std::istringstream in(row);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

std::string stem_text(int stem) {
    return std::string(stem_name[static_cast<std::size_t>(stem)]);
}
std::string branch_text(int branch) {
    return std::string(branch_name[static_cast<std::size_t>(branch)]);
}

/// Ten-god name of the stems 甲…癸 (columns) for the day stems 甲…癸 (rows).
constexpr const char* kTenGodListing[10] = {
    /* 甲 */ "比肩 劫財 食神 傷官 偏財 正財 偏官 正官 偏印 印綬",
    /* 乙 */ "劫財 比肩 傷官 食神 正財 偏財 正官 偏官 印綬 偏印",
    /* 丙 */ "偏印 印綬 比肩 劫財 食神 傷官 偏財 正財 偏官 正官",
    /* 丁 */ "印綬 偏印 劫財 比肩 傷官 食神 正財 偏財 正官 偏官",
    /* 戊 */ "偏官 正官 偏印 印綬 比肩 劫財 食神 傷官 偏財 正財",
    /* 己 */ "正官 偏官 印綬 偏印 劫財 比肩 傷官 食神 正財 偏財",
    /* 庚 */ "偏財 正財 偏官 正官 偏印 印綬 比肩 劫財 食神 傷官",
    /* 辛 */ "正財 偏財 正官 偏官 印綬 偏印 劫財 比肩 傷官 食神",
    /* 壬 */ "食神 傷官 偏財 正財 偏官 正官 偏印 印綬 比肩 劫財",
    /* 癸 */ "傷官 食神 正財 偏財 正官 偏官 印綬 偏印 劫財 比肩",
};

/// Twelve stage of the day stems 甲…癸 (rows) on the branches 子…亥 (columns).
constexpr const char* kStageListing[10] = {
    /* 甲 */ "沐浴 冠帯 建禄 帝旺 衰 病 死 墓 絶 胎 養 長生",
    /* 乙 */ "病 衰 帝旺 建禄 冠帯 沐浴 長生 養 胎 絶 墓 死",
    /* 丙 */ "胎 養 長生 沐浴 冠帯 建禄 帝旺 衰 病 死 墓 絶",
    /* 丁 */ "絶 墓 死 病 衰 帝旺 建禄 冠帯 沐浴 長生 養 胎",
    /* 戊 */ "胎 養 長生 沐浴 冠帯 建禄 帝旺 衰 病 死 墓 絶",
    /* 己 */ "絶 墓 死 病 衰 帝旺 建禄 冠帯 沐浴 長生 養 胎",
    /* 庚 */ "死 墓 絶 胎 養 長生 沐浴 冠帯 建禄 帝旺 衰 病",
    /* 辛 */ "長生 養 胎 絶 墓 死 病 衰 帝旺 建禄 冠帯 沐浴",
    /* 壬 */ "帝旺 衰 病 死 墓 絶 胎 養 長生 沐浴 冠帯 建禄",
    /* 癸 */ "建禄 冠帯 沐浴 長生 養 胎 絶 墓 死 病 衰 帝旺",
};

std::string listed_god(int stem, int day_stem) {
    return words(kTenGodListing[day_stem - 1]).at(static_cast<std::size_t>(stem - 1));
}
std::string listed_stage(int day_stem, int branch) {
    return words(kStageListing[day_stem - 1]).at(static_cast<std::size_t>(branch - 1));
}

TEST(TenGod, EveryStemAgainstEveryDayStemMatchesTheListing) {
    for (int d = 1; d <= 10; ++d)
        for (int s = 1; s <= 10; ++s)
            EXPECT_EQ(ten_god_name.at(static_cast<std::size_t>(ten_god(s, d))), listed_god(s, d))
                << "day " << stem_text(d) << " stem " << stem_text(s);
}

TEST(TwelveStage, EveryDayStemOnEveryBranchMatchesTheListing) {
    for (int d = 1; d <= 10; ++d)
        for (int b = 1; b <= 12; ++b)
            EXPECT_EQ(twelve_stage_name.at(static_cast<std::size_t>(twelve_stage(d, b))), listed_stage(d, b))
                << "day " << stem_text(d) << " branch " << branch_text(b);
}

TEST(VoidPair, EveryDayOfEachOfTheSixDecadesGivesItsPair) {
    const struct {
        int first_branch; // branch of the decade's 甲 day
        const char* pair;
    } decades[] = {{1, "戌亥"}, {11, "申酉"}, {9, "午未"}, {7, "辰巳"}, {5, "寅卯"}, {3, "子丑"}};
    for (const auto& decade : decades) {
        for (int k = 0; k < 10; ++k) {
            const int stem = 1 + k, branch = (decade.first_branch - 1 + k) % 12 + 1;
            const VoidPair pair = void_pair(stem, branch);
            EXPECT_EQ(void_pair_text(pair), decade.pair) << stem_text(stem) << branch_text(branch);
            EXPECT_FALSE(pair.contains(branch)) << "a day is never void in its own decade";
        }
    }
}

/// 己卯 丙子 戊午 辛丑 (day 戊午, decade 甲寅, void 子丑), hidden stems 乙 癸 丁 己, luck
/// pillars forward from 丙子.
Chart sample_chart() {
    Chart c;
    c.year_stem = 6, c.year_branch = 4, c.month_stem = 3, c.month_branch = 1;
    c.day_stem = 5, c.day_branch = 7, c.hour_stem = 8, c.hour_branch = 2;
    c.year_hidden = 2, c.month_hidden = 10, c.day_hidden = 4, c.hour_hidden = 6;
    for (std::size_t i = 0; i < kLuckPillarCount; ++i) {
        c.luck_stem[i] = static_cast<int>((2 + i) % 10 + 1);
        c.luck_branch[i] = static_cast<int>(i % 12 + 1);
    }
    return c;
}

TEST(ChartDetails, PillarsReadTheComputedStemsHiddenStemsAndBranches) {
    const ChartDetails d = chart_details(sample_chart(), {2026, 12, 8, 10, 0, 0});
    EXPECT_EQ(void_pair_text(d.void_pair), "子丑");
    const struct {
        PillarPlace place;
        const char *stem_god, *hidden_god, *stage;
        bool is_void;
    } expected[] = {{kYearPillar, "劫財", "正官", "沐浴", false},
                    {kMonthPillar, "偏印", "正財", "胎", true},
                    {kDayPillar, "日主", "印綬", "帝旺", false},
                    {kHourPillar, "傷官", "劫財", "養", true}};
    for (const auto& e : expected) {
        const PillarDetails& p = d.pillars[e.place];
        EXPECT_EQ(p.stem_god, e.stem_god) << e.place;
        EXPECT_EQ(p.hidden_god, e.hidden_god) << e.place;
        EXPECT_EQ(p.stage, e.stage) << e.place;
        EXPECT_EQ(p.is_void, e.is_void) << e.place;
    }
}

TEST(ChartDetails, UnknownHourShowsPlaceholdersAndNoVoidMark) {
    Chart c = sample_chart();
    c.hour_unknown = true;
    const ChartDetails d = chart_details(c, {2026, 12, 8, 10, 0, 0});
    const PillarDetails& hour = d.pillars[kHourPillar];
    EXPECT_EQ(hour.stem_god, "□");
    EXPECT_EQ(hour.hidden_god, "□");
    EXPECT_EQ(hour.stage, "□");
    EXPECT_FALSE(hour.is_void); // 丑, in the void pair, would be marked with a known hour
    EXPECT_EQ(d.pillars[kMonthPillar].stage, "胎");
}

TEST(ChartDetails, LuckAndAnnualPillarsFollowTheListings) {
    const Chart c = sample_chart();
    const ChartDetails d = chart_details(c, {2026, 1, 1, 0, 0, 0});
    for (std::size_t i = 0; i < kLuckPillarCount; ++i) {
        EXPECT_EQ(d.luck[i].stem_god, listed_god(c.luck_stem[i], c.day_stem)) << i;
        EXPECT_EQ(d.luck[i].stage, listed_stage(c.day_stem, c.luck_branch[i])) << i;
        EXPECT_EQ(d.luck[i].is_void, c.luck_branch[i] <= 2) << i;
    }
    const auto pillars = words("丙午 丁未 戊申 己酉 庚戌 辛亥 壬子 癸丑 甲寅 乙卯"); // 2026…2035
    for (std::size_t i = 0; i < kAnnualPillarCount; ++i) {
        const AnnualPillar& a = d.years[i];
        EXPECT_EQ(a.year, 2026 + static_cast<int>(i));
        EXPECT_EQ(stem_text(a.stem) + branch_text(a.branch), pillars[i]) << a.year;
        EXPECT_EQ(a.stem_god, listed_god(a.stem, c.day_stem)) << a.year;
        EXPECT_EQ(a.stage, listed_stage(c.day_stem, a.branch)) << a.year;
        EXPECT_EQ(a.is_void, a.branch <= 2) << a.year;
    }
}

/// The keys of a JSON object, in order.
std::string keys_of(const nlohmann::ordered_json& object) {
    std::string keys;
    for (const auto& [key, value] : object.items()) keys += (keys.empty() ? "" : " ") + key;
    return keys;
}

TEST(DetailsJson, EveryMemberTheCommandPromisesForAnUnknownHour) {
    // 2000-01-01, hour unknown: day 戊午, void 子丑; the hour pillar would be 戊午 (not void) at noon.
    const auto parsed = request::parse_batch_line(
        R"({"year": 2000, "month": 1, "day": 1, "hour": "?", "minute": "?",)"
        R"( "sex": "male", "offset_minutes": "0", "offset_seconds": "0", "now": "2026-12-08T10:00:00"})");
    ASSERT_TRUE(std::holds_alternative<request::Request>(parsed));
    const auto& request = std::get<request::Request>(parsed);
    const auto j = request::chart_json(
        std::get<Chart>(compute_chart(request.record, request.now, testing::real_tables())), request);
    const auto& d = j.at("details");
    EXPECT_EQ(keys_of(d), "pillars void luck years relations");
    EXPECT_EQ(keys_of(d["pillars"]), "year month day hour");
    for (const auto& [place, pillar] : d["pillars"].items())
        EXPECT_EQ(keys_of(pillar), "stem_god hidden_god stage void") << place;
    EXPECT_EQ(d["pillars"]["day"]["stem_god"], "日主");
    EXPECT_EQ(d["pillars"]["month"]["void"], true); // 丙子
    EXPECT_EQ(
        d["pillars"]["hour"],
        (nlohmann::ordered_json{{"stem_god", "□"}, {"hidden_god", "□"}, {"stage", "□"}, {"void", false}}));
    EXPECT_EQ(d["void"], "子丑");
    ASSERT_EQ(d["luck"].size(), kLuckPillarCount);
    for (const auto& luck : d["luck"]) EXPECT_EQ(keys_of(luck), "stem_god stage relations");
    ASSERT_EQ(d["years"].size(), kAnnualPillarCount);
    for (const auto& year : d["years"]) EXPECT_EQ(keys_of(year), "year pillar stem_god stage void relations");
    EXPECT_EQ(d["years"][0]["year"], 2026);
    EXPECT_EQ(d["years"][0]["pillar"], "丙午");
    EXPECT_EQ(d["years"][6]["void"], true); // 2032 壬子
    // 己卯 丙子 戊午: 卯子 刑, 卯午 破, 子午 冲 (the unknown hour takes no part); 2026 丙午 meets 戊午 as
    // 自刑.
    const auto relation = [](const char* kind, std::vector<const char*> pillars, const char* chars) {
        return nlohmann::ordered_json{{"kind", kind}, {"pillars", pillars}, {"chars", chars}};
    };
    EXPECT_EQ(d["relations"], (nlohmann::ordered_json{relation("刑", {"year", "month"}, "卯子"),
                                                      relation("破", {"year", "day"}, "卯午"),
                                                      relation("冲", {"month", "day"}, "子午")}));
    EXPECT_EQ(d["years"][0]["relations"][2], relation("自刑", {"day", "year_pillar"}, "午午"));
    EXPECT_EQ(d["luck"][0]["relations"][0]["pillars"][1], "luck");
}

} // namespace
} // namespace vantora
