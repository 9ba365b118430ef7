// The chart computation: pillars, true solar time, hidden stems, luck pillars, age and texts.
#include "chart/compute_chart.hpp"
#include "chart/hidden_stems.hpp"
#include "chart/luck.hpp"
#include "chart/number_text.hpp"
#include "chart/pillars.hpp"
#include "core/calendar.hpp"
#include "core/tables.hpp"
#include "request/typed_birth.hpp"
#include "test_tables.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <vector>

namespace vantora {
namespace {

using testing::real_tables;

constexpr LocalDateTime kNow{2026, 12, 8, 10, 0, 0};

BirthRecord birth(double year, double month, double day, double hour, double minute, Sex sex = Sex::male,
                  const char* offset_minutes = "0", const char* offset_seconds = "0") {
    BirthRecord r;
    r.birth_year = year;
    r.birth_month = month;
    r.birth_day = day;
    r.birth_hour = hour;
    r.birth_minute = minute;
    r.sex = sex;
    r.offset = read_time_difference(offset_minutes, offset_seconds);
    return r;
}

Chart chart_of(const BirthRecord& r, const LocalDateTime& now = kNow) {
    auto computed = compute_chart(r, now, real_tables());
    if (const auto* error = std::get_if<ChartError>(&computed)) ADD_FAILURE() << error->message;
    return std::get<Chart>(std::move(computed));
}

std::string pillars(const Chart& c) {
    const auto& t = c.texts;
    return t.yKan + t.yShi + " " + t.mKan + t.mShi + " " + t.dKan + t.dShi + " " + t.hKan + t.hShi;
}

TEST(FourPillars, NewYearsDay2000AtNoon) {
    const Chart c = chart_of(birth(2000, 1, 1, 12, 0));
    EXPECT_EQ(pillars(c), "己卯 丙子 戊午 戊午");
    EXPECT_EQ(c.month_no, 12);
    EXPECT_EQ(c.pillar_year, 1999);
    EXPECT_NEAR(c.zg2, -3.3, 0.1);
    EXPECT_EQ(c.true_hour, 11);
    EXPECT_NEAR(c.true_minute, 56.7, 0.1);
    EXPECT_NEAR(c.birth_nl, 280.0, 0.1);
    EXPECT_EQ(c.texts.txtweek, "土曜日");
    EXPECT_EQ(c.texts.txtBirthday, "2000年1月1日12時0分");
}

TEST(FourPillars, SolarMonthRules) {
    const struct {
        const char* name;
        double longitude, month, year;
        int month_no;
        double pillar_year;
    } cases[] = {
        {"just before the spring start belongs to the old year", 314.9999, 2, 2000, 1, 1999},
        {"the spring start itself opens the new year", 315, 2, 2000, 2, 2000},
        {"early March before 345°", 344.9, 3, 2000, 2, 2000},
        {"卯 month across 0°", 359.9, 3, 2000, 3, 2000},
        {"卯 month after 0°", 0.1, 4, 2000, 3, 2000},
        {"子 month in December", 260, 12, 2000, 12, 2000},
        {"子 month carried into January", 280, 1, 2001, 12, 2000},
        {"丑 month in January", 290, 1, 2001, 1, 2000},
        {"丑 month reaching into February", 312, 2, 2001, 1, 2000},
        {"month boundary at 45°", 45, 5, 2000, 5, 2000},
    };
    for (const auto& c : cases) {
        const SolarMonth s = solar_month(c.longitude, c.month, c.year);
        EXPECT_EQ(s.month_no, c.month_no) << c.name;
        EXPECT_EQ(s.pillar_year, c.pillar_year) << c.name;
    }
}

TEST(TrueSolarTime, CorrectionCarriesBackIntoTheLeapDay) {
    const Chart leap = chart_of(birth(2000, 3, 1, 0, 5, Sex::male, "-10", "0"));
    EXPECT_NEAR(leap.zg2, -12.4, 0.05);
    EXPECT_EQ(leap.texts.txtShin, "2000年2月29日23時42.6分");
    EXPECT_EQ(leap.texts.dKan + leap.texts.dShi, "丁巳");
    EXPECT_EQ(leap.texts.hKan + leap.texts.hShi, "壬子");
    const Chart common = chart_of(birth(2001, 3, 1, 0, 5, Sex::male, "-10", "0"));
    EXPECT_EQ(common.true_month, 2);
    EXPECT_EQ(common.true_day, 28);
}

TEST(TrueSolarTime, LastHalfHourOfTheYearPassesIntoTheNextYear) {
    const Chart c = chart_of(birth(2000, 12, 31, 23, 30, Sex::male, "48", "0"));
    EXPECT_EQ(c.true_year, 2001);
    EXPECT_EQ(c.true_month, 1);
    EXPECT_EQ(c.true_day, 1);
    EXPECT_EQ(c.true_hour, 0);
    const int expected_day = day_cycle(reduce_day_count(julian_day(2001, 1, 1)));
    EXPECT_EQ(c.day_stem, stem_of(expected_day));
    EXPECT_EQ(c.day_branch, branch_of(expected_day));
}

TEST(TrueSolarTime, CorrectionsBeyondAnHourCarryUntilEveryFieldIsInRange) {
    // −49 min 59 s with February's equation of time (−14.3 min) moves the clock by over an hour.
    const Chart c = chart_of(birth(2001, 2, 12, 10, 2, Sex::male, "-49", "59"));
    EXPECT_EQ(c.texts.txtShin, "2001年2月12日8時57.8分");
    // The seconds box allows ±9999 s: almost three hours more.
    const Chart far = chart_of(birth(2099, 12, 31, 23, 59, Sex::male, "48", "9999"));
    EXPECT_EQ(far.texts.txtShin, "2100年1月1日3時30.4分");
    const Chart back = chart_of(birth(2000, 1, 1, 0, 30, Sex::female, "-49", "9999"));
    EXPECT_EQ(back.true_year, 1999);
    EXPECT_EQ(back.true_month, 12);
    EXPECT_EQ(back.true_day, 31);
    for (const Chart* x : {&c, &far, &back}) {
        EXPECT_GE(x->true_minute, 0);
        EXPECT_LT(x->true_minute, 60);
        EXPECT_GE(x->true_hour, 0);
        EXPECT_LE(x->true_hour, 23);
        EXPECT_NE(x->hour_hidden, 0);
    }
}

TEST(TrueSolarTime, ApplyCorrectionCarriesEveryLevel) {
    MonthDays days;
    set_month_days(days, 2001);
    const struct {
        const char* name;
        ClockTime in;
        double correction;
        ClockTime out;
    } cases[] = {
        {"within the hour", {2001, 5, 10, 10, 20}, 15, {2001, 5, 10, 10, 35}},
        {"into the next hour", {2001, 5, 10, 10, 50}, 15, {2001, 5, 10, 11, 5}},
        {"two hours back", {2001, 5, 10, 1, 10}, -130, {2001, 5, 9, 23, 0}},
        {"back over the month", {2001, 3, 1, 0, 10}, -20, {2001, 2, 28, 23, 50}},
        {"forward over the year", {2001, 12, 31, 23, 50}, 200, {2002, 1, 1, 3, 10}},
        {"back over the year", {2001, 1, 1, 0, 0}, -1, {2000, 12, 31, 23, 59}},
    };
    for (const auto& c : cases) {
        const ClockTime got = apply_correction(c.in, c.correction, days);
        EXPECT_EQ(got.year, c.out.year) << c.name;
        EXPECT_EQ(got.month, c.out.month) << c.name;
        EXPECT_EQ(got.day, c.out.day) << c.name;
        EXPECT_EQ(got.hour, c.out.hour) << c.name;
        EXPECT_NEAR(got.minute, c.out.minute, 1e-9) << c.name;
    }
}

TEST(ChartTexts, NoTextShowsSixtyTenths) {
    // 15 min 59.97 s of equation of time is shown carried into the minutes.
    const Chart eot = chart_of(birth(1921, 11, 11, 4, 51, Sex::male, "-20", "14"));
    EXPECT_EQ(eot.texts.txtKinjisa, "+16分0.0秒");
    // A true-solar minute of 59.96 stays in its hour: the pillars were taken from 4 h, not 5 h.
    const Chart shin = chart_of(birth(1949, 7, 15, 4, 53, Sex::male, "12", "44"));
    EXPECT_EQ(shin.true_hour, 4);
    EXPECT_GT(shin.true_minute, 59.95);
    EXPECT_EQ(shin.texts.txtShin, "1949年7月15日4時59.9分");
}

TEST(EquationOfTimeText, SignMinutesAndTenthsOfSeconds) {
    const struct {
        double month, day;
        const char* prefix;
    } cases[] = {{2, 11.5, "-14分"}, {11, 3.5, "+16分"}, {5, 14.5, "+3分"}};
    for (const auto& c : cases) {
        const std::string text = calc_eot_minutes(2000, c.month, c.day).text();
        EXPECT_EQ(text.rfind(c.prefix, 0), 0u) << text;
        EXPECT_EQ(text.substr(text.size() - 3), "秒");
    }
}

TEST(UnknownTimes, HourUnknownComputesNoonAndHidesTheHourPillar) {
    BirthRecord r = birth(1984, 2, 29, 0, 0);
    r.hour_unknown = true;
    r.minute_unknown = true;
    const Chart c = chart_of(r);
    BirthRecord noon = birth(1984, 2, 29, 12, 0);
    const Chart n = chart_of(noon);
    EXPECT_EQ(c.birth_nl, n.birth_nl);
    EXPECT_EQ(c.hour_stem, n.hour_stem) << "the hour indices keep the noon values";
    EXPECT_EQ(c.texts.hKan, "□");
    EXPECT_EQ(c.texts.hShi, "□");
    EXPECT_EQ(c.texts.lbl_hZokan, "□");
    EXPECT_EQ(c.texts.txtShin, "1984年2月29日確定不能");
    EXPECT_EQ(c.texts.txtBirthday, "1984年2月29日出生時間不明");
}

TEST(UnknownTimes, MinuteUnknownTakesMinuteZero) {
    BirthRecord r = birth(2026, 12, 8, 9, 37);
    r.minute_unknown = true;
    const Chart c = chart_of(r);
    EXPECT_EQ(c.texts.txtBirthday, "2026年12月8日9時頃");
    EXPECT_EQ(c.jBirthS, chart_of(birth(2026, 12, 8, 9, 0)).jBirthS);
}

TEST(HourPillar, HourTwentyThreeTakesTheNextDaysRatHour) {
    for (int day_stem = 1; day_stem <= 10; ++day_stem) {
        const int h0 = hour_cycle(0, day_stem), h23 = hour_cycle(23, day_stem);
        EXPECT_EQ(branch_of(h0), 1);
        EXPECT_EQ(branch_of(h23), 1);
        EXPECT_EQ((h23 - h0 + 60) % 60, 12) << day_stem;
    }
    EXPECT_EQ(stem_of(hour_cycle(0, 1)), 1);  // 甲 day: 甲子
    EXPECT_EQ(stem_of(hour_cycle(23, 1)), 3); // 丙子
    EXPECT_EQ(branch_of(hour_cycle(1, 1)), 2);
    EXPECT_EQ(branch_of(hour_cycle(22, 1)), 12);
}

TEST(HiddenStems, MonthAndElementThresholds) {
    const struct {
        int month_no;
        double longitude;
        const char* element;
        int stem;
    } cases[] = {
        {4, 27, "土", 5},  {4, 26.9999, "木", 2}, {3, 351, "木", 2},   {3, 350.9999, "木", 1},
        {2, 315, "木", 1}, {6, 81, "火", 4},      {6, 80.99, "火", 3}, {7, 117, "土", 6},
        {9, 171, "金", 8}, {10, 207, "土", 5},    {12, 261, "水", 10}, {12, 260.99, "水", 9},
        {1, 297, "土", 6}, {1, 296.99, "水", 10},
    };
    for (const auto& c : cases) {
        const auto s = season_and_month_hidden(c.month_no, c.longitude);
        ASSERT_TRUE(s.has_value()) << c.month_no << "/" << c.longitude;
        EXPECT_EQ(s->element, c.element) << c.month_no << "/" << c.longitude;
        EXPECT_EQ(s->stem, c.stem) << c.month_no << "/" << c.longitude;
    }
    EXPECT_FALSE(season_and_month_hidden(0, 100).has_value());
}

TEST(HiddenStems, YearDayAndHourThresholds) {
    EXPECT_EQ(year_hidden_stem(1, 26), 9);            // 子 year, early: 壬
    EXPECT_EQ(year_hidden_stem(1, 28), 10);           // 癸
    EXPECT_EQ(year_hidden_stem(2, 98), 10);           // 丑 year, first half: 癸
    EXPECT_EQ(year_hidden_stem(2, 100), 6);           // 己
    EXPECT_EQ(year_hidden_stem(3, 200), 1);           // 寅 always 甲
    EXPECT_EQ(day_hidden_stem(1, 4 + 47.0 / 60), 9);  // 子 day 04:47: 壬
    EXPECT_EQ(day_hidden_stem(1, 4 + 48.0 / 60), 10); // 04:48: 癸
    EXPECT_EQ(day_hidden_stem(5, 9.59), 2);           // 辰 day: 乙 then 戊
    EXPECT_EQ(day_hidden_stem(5, 9.6), 5);
    EXPECT_EQ(hour_hidden_stem(1, 23 + 20.0 / 60), 9);  // 子 hour 23:20: 壬
    EXPECT_EQ(hour_hidden_stem(1, 23 + 30.0 / 60), 10); // 23:30: 癸
    EXPECT_EQ(hour_hidden_stem(1, 0.5), 10);            // 00:30: 癸
    const struct {
        int branch;
        double before, at;
        int first, second;
    } splits[] = {{1, 23.39, 23.4, 9, 10}, {2, 1.79, 1.8, 10, 6},  {4, 5.39, 5.4, 1, 2},
                  {5, 7.79, 7.8, 2, 5},    {7, 11.39, 11.4, 3, 4}, {8, 13.79, 13.8, 4, 6},
                  {10, 17.39, 17.4, 7, 8}, {11, 19.79, 19.8, 8, 5}};
    for (const auto& s : splits) {
        EXPECT_EQ(hour_hidden_stem(s.branch, s.before), s.first) << s.branch;
        EXPECT_EQ(hour_hidden_stem(s.branch, s.at), s.second) << s.branch;
    }
    EXPECT_FALSE(hour_hidden_stem(4, 7.0).has_value()) << "outside the two hours of 卯";
}

TEST(TenGods, RelationToTheDayStem) {
    EXPECT_EQ(yo_seikoku(10, 1), 4); // 甲 day, 癸: 印
    EXPECT_EQ(in_seikoku(1, 2), 0);  // 乙 day, 甲: 比
    // Both tables agree with the five-element cycle.
    for (int day = 1; day <= 10; ++day) {
        for (int stem = 1; stem <= 10; ++stem) {
            const int expected = (((stem - 1) / 2 - (day - 1) / 2) % 5 + 5) % 5;
            EXPECT_EQ(relation_to_day_stem(stem, day), expected) << stem << " to " << day;
        }
    }
}

TEST(LuckPillars, DirectionByYearParityAndSex) {
    EXPECT_TRUE(luck_direction(0, Sex::male));
    EXPECT_FALSE(luck_direction(0, Sex::female));
    EXPECT_FALSE(luck_direction(1, Sex::male));
    EXPECT_TRUE(luck_direction(1, Sex::female));
}

Chart luck_chart(bool forward, int month_no, double longitude, int month_stem = 3, int month_branch = 4) {
    Chart c;
    c.luck_forward = forward;
    c.month_no = static_cast<std::int16_t>(month_no);
    c.month_stem = month_stem;
    c.month_branch = month_branch;
    c.year_stem = 1;
    c.true_day = 10;
    c.luck_years = luck_change_degrees(forward, month_no, longitude) / 3;
    fill_luck_pillars(c);
    return c;
}

TEST(LuckPillars, ChangeAgeFromTheLongitudeDistance) {
    EXPECT_EQ(luck_change_degrees(true, 3, 350), 25);
    EXPECT_EQ(luck_chart(true, 3, 350).texts.txtKoutai, "約8歳4カ月0日");
    EXPECT_EQ(luck_change_degrees(true, 3, 5), 10);
    EXPECT_EQ(luck_chart(true, 3, 5).texts.txtKoutai, "約3歳4カ月0日");
    EXPECT_EQ(luck_change_degrees(false, 3, 5), 20);
    const Chart zero = luck_chart(false, 3, 345);
    EXPECT_EQ(zero.texts.txtKoutai, "約0歳0カ月0日");
    EXPECT_EQ(zero.texts.sai2[0], "0");
    EXPECT_EQ(zero.texts.sai2[1], "9");
    EXPECT_EQ(zero.texts.sai1[0], "0");
}

TEST(LuckPillars, ChangeYearAndMonth) {
    // Worked by hand from the rule: months = trunc(12 f), days = trunc(30 × the rest); the change
    // month moves on when days + the birth day pass 30; the year counts one further for a 丑-month
    // birth with more than one month to go, or when the change passes the year end.
    const struct {
        const char* name;
        int month_no, year_stem;
        double fraction, true_day; // fraction of a year beyond 3 years: exact binary values
        const char* expected;
    } cases[] = {
        {"丑 month, two months to go: next year", 1, 1, 0.1875, 10, "戊年卯月"},
        {"丑 month, one month to go: same year", 1, 1, 0.125, 10, "丁年寅月"},
        {"days overflow into the next month", 5, 1, 0.125, 20, "丁年未月"},
        {"passes the year end", 10, 1, 0.375, 10, "戊年寅月"},
        {"ends exactly at the year end", 9, 1, 0.375, 10, "丁年丑月"},
        {"stem 10 and branch 12 from a zero remainder", 10, 7, 0.125, 10, "癸年亥月"},
    };
    for (const auto& k : cases) {
        Chart c;
        c.month_no = static_cast<std::int16_t>(k.month_no);
        c.year_stem = k.year_stem;
        c.month_stem = 3;
        c.month_branch = 4;
        c.true_day = k.true_day;
        c.luck_years = 3 + k.fraction;
        fill_luck_pillars(c);
        EXPECT_EQ(c.texts.txtKoutaiYM, k.expected) << k.name;
    }
}

TEST(LuckPillars, PillarsWrapThroughTheCycle) {
    const Chart forward = luck_chart(true, 12, 260, 10, 12); // 癸亥
    EXPECT_EQ(forward.texts.dun_kan[0] + forward.texts.dun_shi[0], "癸亥");
    EXPECT_EQ(forward.texts.dun_kan[1] + forward.texts.dun_shi[1], "甲子");
    const Chart backward = luck_chart(false, 12, 260, 1, 1); // 甲子
    EXPECT_EQ(backward.texts.dun_kan[1] + backward.texts.dun_shi[1], "癸亥");
    EXPECT_EQ(backward.texts.dun_kan[10] + backward.texts.dun_shi[10], "甲寅");
}

TEST(Age, BirthdayOnTheLeapDayAndAtTheBirthTime) {
    const struct {
        const char* name;
        LocalDateTime now;
        const char* age;
    } cases[] = {
        {"day before the birthday in a common year", {2027, 2, 28, 23, 59, 0}, "42"},
        {"1 March stands in for 29 February, before the birth time", {2027, 3, 1, 9, 59, 0}, "42"},
        {"1 March at the birth time", {2027, 3, 1, 10, 0, 0}, "43"},
        {"29 February of a leap year at the birth time", {2028, 2, 29, 10, 0, 0}, "44"},
        {"present before the birth year", {1983, 5, 5, 0, 0, 0}, "-"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(chart_of(birth(1984, 2, 29, 10, 0), c.now).texts.txtAge, c.age) << c.name;
    }
}

TEST(CurrentLuck, BoundariesOfThePillars) {
    const double birth_jd = 2451545.0, years = 5.0;
    const double first = birth_jd + years * kLuckYearDays;
    const struct {
        const char* name;
        double present;
        std::optional<int> pillar;
    } cases[] = {
        {"before the birth", birth_jd - 0.001, std::nullopt},
        {"at the birth", birth_jd, 0},
        {"just before the first change", first - 0.001, 0},
        {"at the first change", first, 1},
        {"at the second change", first + kLuckDecadeDays, 2},
        {"in the last pillar", first + 9.5 * kLuckDecadeDays, 10},
        {"a hundred years after the first change", first + kLuckCenturyDays, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mark_current_luck(c.present, 0, birth_jd, years), c.pillar) << c.name;
    EXPECT_EQ(chart_of(birth(2030, 1, 1, 0, 0)).current_luck, std::nullopt) << "not yet born";
}

TEST(TimeDifference, SecondsTakeTheSignOfTheMinutes) {
    const struct {
        const char* minutes;
        const char* seconds;
        double jisa_seconds;
    } cases[] = {
        {"-5", "30", -330}, {"0", "-30", -30}, {"-1", "30", -90}, {"0", "30", 30},
        {"5", "20", 320},   {"-0", "30", -30}, // west of 135° E within one minute
        {" -0", "30", -30}, {"0", "abc", 0},   {"1", "90", 150},  {"-18", "20", -1100},
    };
    for (const auto& c : cases) {
        const Chart chart = chart_of(birth(2000, 6, 1, 12, 0, Sex::male, c.minutes, c.seconds));
        EXPECT_NEAR(chart.jisa * 86400, c.jisa_seconds, 1e-6) << c.minutes << " / " << c.seconds;
    }
}

TEST(BirthdayText, PartialAndCompleteInputs) {
    using request::TypedBirth;
    EXPECT_EQ(request::birthday_data(TypedBirth{"1975", "3", "8", "14", "5", "male", "0", "0", {}}),
              "1975年3月8日14時5分");
    EXPECT_EQ(request::birthday_data(TypedBirth{"1975", "3", "8", "14", "", "male", "0", "0", {}}),
              "1975年3月8日14時頃");
    EXPECT_EQ(request::birthday_data(TypedBirth{"1975", "3", "8", "?", "", "male", "0", "0", {}}),
              "1975年3月8日出生時間不明");
    EXPECT_EQ(request::birthday_data(TypedBirth{"1975", "", "", "", "", "male", "0", "0", {}}),
              "1975年月日時頃");
}

} // namespace
} // namespace vantora

namespace vantora {
namespace {

TEST(NumberText, GeneralConversionAndOneDecimal) {
    const struct {
        double x;
        const char* text;
    } general[] = {{1975, "1975"},
                   {-3, "-3"},
                   {0, "0"},
                   {-0.0, "0"},
                   {45.85425812327986, "45.8542581232799"},
                   {0.1 + 0.2, "0.3"},
                   {1e-5, "1E-05"},
                   {2.5e-7, "2.5E-07"},
                   {1e15, "1E+15"},
                   {123456789012345.0, "123456789012345"}};
    for (const auto& c : general) {
        EXPECT_EQ(general_text(c.x), c.text) << c.x;
        std::string appended = "約";
        append_general_text(appended, c.x, "年");
        EXPECT_EQ(appended, std::string("約") + c.text + "年") << c.x;
    }
    const struct {
        double x;
        const char* text;
    } tenths[] = {{5, "5.0"},      {27.77, "27.8"}, {0.04, "0.0"},
                  {59.96, "60.0"}, {12.25, "12.2"}, {12.75, "12.8"}};
    for (const auto& c : tenths) EXPECT_EQ(one_decimal_text(c.x), c.text) << c.x;
}

TEST(NumberText, GeneralConversionIsPrintfsGeneralFormOfEveryMagnitude) {
    // Whole numbers take a faster path than fractions; both must write what "%.15G" writes.
    std::vector<double> values;
    for (double whole = 1; whole < 1e17; whole *= 10) {
        for (const double x : {whole, whole - 1, whole + 1, whole * 7 + 3, whole / 3, whole * 1.5}) {
            values.push_back(x);
            values.push_back(-x);
        }
    }
    for (const double x : {999999999999999.0, 999999999999999.5, 1e15 + 2, 0.5, 1e-5, 2.5e-7, 1e300}) {
        values.push_back(x);
        values.push_back(-x);
    }
    for (const double x : values) {
        if (x == 0) continue; // zero of either sign is "0", tested above
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.15G", x);
        EXPECT_EQ(general_text(x), expected) << x;
    }
}

TEST(NumberText, NumericValueReadsTheLeadingNumber) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"12", 12}, {" -12abc", -12}, {"abc", 0},  {"", 0},   {"1 2", 12},   {"3.5.1", 3.5},
                 {"+7", 7},  {"-", 0},         {".5", 0.5}, {"-0", 0}, {"9999", 9999}};
    for (const auto& c : cases) EXPECT_EQ(numeric_value(c.text), c.value) << c.text;
}

TEST(ChartErrors, DamagedTablesAndBirthsOutOfRangeGiveAnErrorNeverAChart) {
    using Cause = ChartError::Cause;
    const auto damaged = [](auto damage) {
        TermTables tables = real_tables();
        damage(tables);
        return tables;
    };
    const auto outside = [](auto change) {
        BirthRecord r = birth(2000, 1, 1, 12, 0);
        change(r);
        return r;
    };
    const BirthRecord good = birth(2000, 1, 1, 12, 0);
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double infinity = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        BirthRecord record;
        TermTables tables;
        Cause cause;
    } cases[] = {
        // Tables built in memory, past the loader's bounds: the first two once reached the name
        // tables as a NaN index (a crash) and as an exact 0° longitude (a wrong chart).
        {"three amplitudes of 1.7e308", good, damaged([](TermTables& t) {
             for (std::size_t k = 0; k < 3; ++k) t.planet_terms[k].a = 1.7e308, t.planet_terms[k].alpha = 0;
         }),
         Cause::terms},
        {"amplitude 1e200", good, damaged([](TermTables& t) { t.planet_terms[0].a = 1e200; }), Cause::terms},
        {"amplitude 40000″: a longitude off by 11°", good,
         damaged([](TermTables& t) { t.planet_terms[0].a = 40000; }), Cause::terms},
        {"NaN amplitude", good, damaged([](TermTables& t) { t.planet_terms[5].a = nan; }), Cause::terms},
        {"distance amplitude 1e8: 1.6 AU", good, damaged([](TermTables& t) { t.planet_terms[0].b = 1e8; }),
         Cause::terms},
        {"infinite distance phase", good, damaged([](TermTables& t) { t.planet_terms[0].beta = infinity; }),
         Cause::terms},
        {"year 1499", outside([](BirthRecord& r) { r.birth_year = 1499; }), real_tables(), Cause::birth},
        {"NaN year", outside([](BirthRecord& r) { r.birth_year = nan; }), real_tables(), Cause::birth},
        {"month 13", outside([](BirthRecord& r) { r.birth_month = 13; }), real_tables(), Cause::birth},
        {"30 February", outside([](BirthRecord& r) { r.birth_month = 2, r.birth_day = 30; }), real_tables(),
         Cause::birth},
        {"hour 24", outside([](BirthRecord& r) { r.birth_hour = 24; }), real_tables(), Cause::birth},
        {"minute 59.5", outside([](BirthRecord& r) { r.birth_minute = 59.5; }), real_tables(), Cause::birth},
        {"time difference 1e9 minutes", outside([](BirthRecord& r) { r.offset.minutes = 1e9; }),
         real_tables(), Cause::birth},
        {"time difference of infinite seconds", outside([](BirthRecord& r) { r.offset.seconds = infinity; }),
         real_tables(), Cause::birth},
    };
    for (const auto& c : cases) {
        const ChartResult result = compute_chart(c.record, kNow, c.tables);
        const auto* error = std::get_if<ChartError>(&result);
        ASSERT_NE(error, nullptr) << c.name;
        EXPECT_EQ(error->cause, c.cause) << c.name;
        EXPECT_FALSE(error->message.empty()) << c.name;
    }
    // The edges that real births reach still give charts: the time difference of the box's
    // longest texts, and the last minute of the range.
    const BirthRecord edges[] = {birth(2099, 12, 31, 23, 59, Sex::female, "-59", "99999"),
                                 birth(1500, 1, 1, 0, 0, Sex::male, "75", "59")};
    for (const auto& r : edges)
        EXPECT_TRUE(std::holds_alternative<Chart>(compute_chart(r, kNow, real_tables())));
}

TEST(ChartErrors, MessagesNameTheTermFilesOrTheField) {
    TermTables broken = real_tables();
    broken.planet_terms[0].a = 1e200;
    const auto terms = std::get<ChartError>(compute_chart(birth(2000, 1, 1, 12, 0), kNow, broken));
    EXPECT_TRUE(
        terms.message.starts_with("項の表（planet.txt, latitude.txt）から求めた太陽の黄経の惑星摂動（"))
        << terms.message;
    const auto birth_error =
        std::get<ChartError>(compute_chart(birth(2000, 4, 31, 12, 0), kNow, real_tables()));
    EXPECT_EQ(birth_error.message, "出生データの日（31）が範囲外です");
}

} // namespace
} // namespace vantora
