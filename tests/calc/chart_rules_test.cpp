// The rules a reader may choose: each alternative at the edge it moves, ΔT against tabulated
// values, the term instants against the almanac and the summer-time periods against the system's
// time-zone data.
#include "chart/compute_chart.hpp"
#include "chart/summer_time.hpp"
#include "core/calendar.hpp"
#include "core/delta_t.hpp"
#include "core/names.hpp"
#include "test_tables.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <map>
#include <tuple>

namespace vantora {
namespace {

BirthRecord birth(int year, int month, int day, int hour, int minute, const char* offset = "0",
                  Sex sex = Sex::male) {
    return {double(year),
            double(month),
            double(day),
            double(hour),
            double(minute),
            false,
            false,
            sex,
            read_time_difference(offset, "0")};
}

/// The chart's texts under the rule list, or the error's message.
ChartResult compute(const BirthRecord& r, const char* rule_list = "") {
    ChartRules rules;
    if (auto error = read_rule_list(rules, rule_list)) ADD_FAILURE() << *error;
    return compute_chart(r, {2026, 12, 8, 10, 0, 0}, testing::real_tables(), rules);
}
Chart chart(const BirthRecord& r, const char* rule_list = "") {
    auto result = compute(r, rule_list);
    if (auto* error = std::get_if<ChartError>(&result)) ADD_FAILURE() << error->message;
    return std::get<Chart>(std::move(result));
}

TEST(RuleList, KeysAndValuesAreReadAndWrongOnesNamed) {
    const struct {
        const char *list, *applied_or_error;
    } cases[] = {
        {"", ""},
        {"day-change=23, term-instant=clock", "適用規則: 23時日替わり・節入り実時刻"},
        {"summer-time=on,summer-time=off,hidden-stems=days", "適用規則: 蔵干日数分野"},
        {"luck-start=days", "適用規則: 立運日数計算"},
        {"day-change=24", "規則「day-change」の値「24」は使えません（midnight または 23）"},
        {"day-shift=23", "規則「day-shift」はありません"},
        {"summer-time", "規則「summer-time」に値がありません"},
    };
    for (const auto& c : cases) {
        ChartRules rules;
        const auto error = read_rule_list(rules, c.list);
        EXPECT_EQ((error ? *error : applied_rules_text(rules)).rfind(c.applied_or_error, 0), 0u) << c.list;
    }
}

TEST(DeltaT, PolynomialsFollowTheTabulatedValues) {
    // Observed ΔT in seconds (Morrison and Stephenson; IERS) and the slack each era allows.
    const double cases[][3] = {{1500, 200, 20}, {1600, 120, 20}, {1700, 9, 5},    {1800, 13.7, 1},
                               {1850, 7.1, 1},  {1900, -2.7, 1}, {1950, 29.1, 1}, {1980, 50.5, 1},
                               {2000, 63.8, 1}, {2008, 65.5, 1}, {2099, 200, 100}};
    for (const auto& [year, seconds, tolerance] : cases)
        EXPECT_NEAR(delta_t_seconds(year), seconds, tolerance);
}

TEST(TermInstantRule, MonthChangesAtTheClockInstantForEveryPlace) {
    // 立春 2008 fell at 20:00 JST: the solar rule reads the place's true solar time instead.
    const struct {
        int hour, minute;
        const char *offset, *solar, *clock;
    } cases[] = {{19, 57, "30", "戊子甲寅", "丁亥癸丑"},
                 {19, 57, "-30", "丁亥癸丑", "丁亥癸丑"},
                 {20, 3, "30", "戊子甲寅", "戊子甲寅"},
                 {20, 3, "-30", "丁亥癸丑", "戊子甲寅"}};
    for (const auto& c : cases) {
        const BirthRecord r = birth(2008, 2, 4, c.hour, c.minute, c.offset);
        for (const auto& [rule, expected] :
             {std::pair{"", c.solar}, std::pair{"term-instant=clock", c.clock}}) {
            const ChartTexts t = chart(r, rule).texts;
            EXPECT_EQ(t.yKan + t.yShi + t.mKan + t.mShi, expected)
                << c.hour << ":" << c.minute << c.offset << rule;
        }
    }
}

TEST(DayChangeRule, TheHourFrom23TakesTheNextDaysPillar) {
    // 2000-01-01 is 戊午, the 2nd 己未; true solar time runs 3.3 minutes behind the clock.
    const struct {
        int day, hour, minute;
        const char *midnight, *at_23;
    } cases[] = {{1, 23, 2, "戊午癸亥", "戊午癸亥"},
                 {1, 23, 5, "戊午甲子", "己未甲子"},
                 {2, 0, 2, "戊午甲子", "己未甲子"},
                 {2, 0, 5, "己未甲子", "己未甲子"}};
    for (const auto& c : cases) {
        for (const auto& [rule, expected] :
             {std::pair{"", c.midnight}, std::pair{"day-change=23", c.at_23}}) {
            const ChartTexts t = chart(birth(2000, 1, c.day, c.hour, c.minute), rule).texts;
            EXPECT_EQ(t.dKan + t.dShi + t.hKan + t.hShi, expected)
                << c.day << " " << c.hour << ":" << c.minute;
        }
    }
}

TEST(LuckStartRule, DaysToTheTermCountThreeToAYear) {
    // 2008 is a yang year: a man's pillars run forward to 啓蟄 (3-05 13:59), a woman's back to
    // 立春 (2-04 20:00). By hand: 7 d 7 h 18 min → 2 y 5 m 6.5 d; 5 d 21 h 42 min → 1 y 11 m
    // 18.5 d; 2 h 30 min → 12.5 d.
    const struct {
        int month, day, hour, minute;
        Sex sex;
        const char* text;
    } cases[] = {{2, 12, 3, 18, Sex::female, "約2歳5カ月6日"},
                 {2, 28, 16, 17, Sex::male, "約1歳11カ月18日"},
                 {2, 4, 22, 30, Sex::female, "約0歳0カ月12日"}};
    for (const auto& c : cases) {
        const BirthRecord r = birth(2008, c.month, c.day, c.hour, c.minute, "0", c.sex);
        EXPECT_EQ(chart(r, "term-instant=clock,luck-start=days").texts.txtKoutai, c.text)
            << c.month << "-" << c.day;
    }
}

TEST(HiddenStemRule, DaysAfterTheTermChooseThePart) {
    const struct {
        int branch, day; // 丑 2, 午 7, 子 1, 亥 12
        const char* stem_and_part;
    } cases[] = {{2, 1, "癸余気"},  {2, 9, "癸余気"},  {2, 10, "辛中気"}, {2, 12, "辛中気"},
                 {2, 13, "己本気"}, {7, 10, "丙余気"}, {7, 19, "己中気"}, {7, 20, "丁本気"},
                 {1, 10, "壬余気"}, {1, 11, "癸本気"}, {12, 31, "壬本気"}};
    for (const auto& c : cases) {
        const DayCountedStem got = hidden_stem_by_days(c.branch, c.day);
        EXPECT_EQ(std::string(stem_name[static_cast<std::size_t>(got.stem)]) += hidden_part_name(got.part),
                  c.stem_and_part);
    }
    // 清明 2008 fell on 4-04 18:46: 4-15 20:00 is day 12 of the 辰 month, in a 子 year.
    const Chart c = chart(birth(2008, 4, 15, 20, 0), "term-instant=clock,hidden-stems=days");
    EXPECT_EQ(c.texts.lbl_mZokan + c.texts.lbl_yZokan, "癸癸");
    EXPECT_EQ(c.hidden_parts[0], HiddenPart::main);
    EXPECT_EQ(c.hidden_parts[1], HiddenPart::middle);
}

TEST(SummerTime, PeriodsAreThoseOfTheSystemZoneData) {
    // Each hour of 1947..1952 as the Asia/Tokyo clock showed it: in summer time or not, and once
    // more when it was shown twice.
    const char* saved = std::getenv("TZ");
    const std::string old = saved ? saved : "";
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
    std::map<std::tuple<int, int, int, int>, SummerClock> shown;
    for (std::time_t t = -725846400; t < -536457600; t += 3600) { // 1947-01-01 … 1953-01-01 UT
        std::tm l{};
        localtime_r(&t, &l);
        const auto [at, first] =
            shown.try_emplace({l.tm_year + 1900, l.tm_mon + 1, l.tm_mday, l.tm_hour},
                              l.tm_isdst > 0 ? SummerClock::summer : SummerClock::standard);
        if (!first) at->second = SummerClock::repeated;
    }
    saved ? setenv("TZ", old.c_str(), 1) : unsetenv("TZ");
    tzset();
    int summer_hours = 0;
    for (const auto& [hour, expected] : shown) {
        const auto& [y, m, d, h] = hour;
        summer_hours += expected == SummerClock::summer;
        ASSERT_EQ(summer_clock(y, m, d, h), expected) << y << "-" << m << "-" << d << " " << h;
        // The clock jumped over the hour before the first hour of each summer.
        if (h == 1 && expected == SummerClock::summer && !shown.count({y, m, d, 0})) {
            EXPECT_EQ(summer_clock(y, m, d, 0), SummerClock::skipped) << y;
        }
    }
    EXPECT_GT(summer_hours, 4 * 120 * 24) << "four summers of over four months";
}

TEST(SummerTime, ClockTimesInsideAPeriodMoveOneHourOrAreRefused) {
    const Chart summer = chart(birth(1949, 7, 1, 12, 30), "summer-time=on");
    const Chart standard = chart(birth(1949, 7, 1, 11, 30));
    EXPECT_EQ(summer.jBirthS, standard.jBirthS);
    EXPECT_EQ(summer.texts.txtShin, standard.texts.txtShin);
    EXPECT_EQ(summer.texts.txtBirthday, "1949年7月1日12時30分");
    EXPECT_EQ(summer.summer_time_notice, false);
    EXPECT_EQ(chart(birth(1949, 7, 1, 12, 30)).summer_time_notice, true);
    EXPECT_EQ(chart(birth(1952, 7, 1, 12, 30)).summer_time_notice, false);
    // 0:30 of summer time is 23:30 of the day before.
    EXPECT_EQ(chart(birth(1950, 5, 8, 0, 30), "summer-time=on").texts.txtShin.rfind("1950年5月7日23時", 0),
              0u);
    for (const auto& [day, words] :
         {std::pair{birth(1948, 5, 2, 0, 30), "1948年5月2日0時台は夏時刻の始まりで"},
          std::pair{birth(1951, 9, 9, 0, 30), "1951年9月9日0時台は夏時刻の終わりで二度"}}) {
        const auto result = compute(day, "summer-time=on");
        ASSERT_TRUE(std::holds_alternative<ChartError>(result)) << words;
        EXPECT_EQ(std::get<ChartError>(result).message.rfind(words, 0), 0u)
            << std::get<ChartError>(result).message;
    }
}

} // namespace
} // namespace vantora
