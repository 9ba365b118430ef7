// Calendar arithmetic: Julian days, weekdays, month lengths and the sexagenary counters.
#include "core/calendar.hpp"
#include "core/integer_ops.hpp"

#include <gtest/gtest.h>

namespace vantora {
namespace {

struct JulianDayCase {
    const char* name;
    double year, month, day;
    double jd;
};

TEST(JulianDay, KnownDatesGiveTheirJulianDay) {
    const JulianDayCase cases[] = {
        {"2000-01-01 0h", 2000, 1, 1, 2451544.5},
        {"2000-01-01 12h", 2000, 1, 1.5, 2451545.0},
        {"2000-03-01 0h", 2000, 3, 1, 2451604.5},
        {"1900 January 0.5 is the epoch", 1900, 1, 0.5, 2415020.0},
        {"1582-10-15, first Gregorian day", 1582, 10, 15, 2299160.5},
        {"1500-01-01, proleptic Gregorian", 1500, 1, 1, 2268923.5},
        {"2099-12-31", 2099, 12, 31, 2488068.5},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(julian_day(c.year, c.month, c.day), c.jd) << c.name;
}

TEST(JulianDay, LeapDaysFollowTheGregorianRule) {
    // 1600 is a leap year: 29 February lies between 28 February and 1 March.
    EXPECT_EQ(julian_day(1600, 2, 29) - julian_day(1600, 2, 28), 1);
    EXPECT_EQ(julian_day(1600, 3, 1) - julian_day(1600, 2, 29), 1);
    // 1700 is not: "29 February" is 1 March.
    EXPECT_EQ(julian_day(1700, 2, 29), julian_day(1700, 3, 1));
    EXPECT_EQ(julian_day(2000, 3, 1) - julian_day(2000, 2, 28), 2);
    EXPECT_EQ(julian_day(1900, 3, 1) - julian_day(1900, 2, 28), 1);
}

TEST(JulianDay, DayFractionAndDayZeroMoveTheDate) {
    EXPECT_DOUBLE_EQ(julian_day(2000, 1, 1.25) - julian_day(2000, 1, 1), 0.25);
    EXPECT_EQ(julian_day(2000, 3, 0), julian_day(2000, 2, 29));
    EXPECT_EQ(julian_day(2000, 1, 0), julian_day(1999, 12, 31));
}

TEST(JulianCentury, CountsCenturiesFrom1900JanuaryHalf) {
    EXPECT_EQ(julian_century(2415020.0), 0);
    EXPECT_NEAR(julian_century(2451545.0), 1.0000, 1e-4);
}

TEST(WeekdayNo, CountsFromSunday) {
    EXPECT_EQ(weekday_no(2451544), 7); // 2000-01-01, Saturday
    EXPECT_EQ(weekday_no(2451545), 1); // Sunday
    EXPECT_EQ(weekday_no(2451546), 2);
    for (std::int32_t n = 2451544; n < 2451544 + 21; ++n) {
        const int w = weekday_no(n);
        EXPECT_GE(w, 1);
        EXPECT_LE(w, 7);
        EXPECT_EQ(weekday_no(n + 7), w);
    }
}

TEST(MonthDays, FebruaryFollowsTheLeapRule) {
    const struct {
        double year;
        int february;
    } cases[] = {{1900, 28}, {2000, 29}, {2004, 29}, {2001, 28}, {1600, 29}, {1700, 28}, {2100, 28}};
    MonthDays days;
    EXPECT_EQ(days[2], 0) << "all entries are 0 before the first call";
    for (const auto& c : cases) {
        set_month_days(days, c.year);
        EXPECT_EQ(days[2], c.february) << c.year;
        EXPECT_EQ(days[1], 31);
        EXPECT_EQ(days[4], 30);
        EXPECT_EQ(days[12], 31);
    }
}

TEST(SexagenaryCounters, YearCycle) {
    EXPECT_EQ(year_cycle(1984), 1);  // 甲子
    EXPECT_EQ(year_cycle(2043), 60); // 癸亥
    EXPECT_EQ(year_cycle(2000), 17); // 庚辰
    EXPECT_EQ(year_cycle(1999), 16); // 己卯
    for (int y = 1500; y <= 2099; ++y) {
        EXPECT_EQ(year_cycle(y + 1) % 60, (year_cycle(y) + 1) % 60) << y;
    }
}

TEST(SexagenaryCounters, MonthCycleWrapsPastSixty) {
    EXPECT_EQ(month_cycle(1984, 2), 3);   // 丙寅
    EXPECT_EQ(month_cycle(1983, 1), 2);   // 乙丑: the 丑 month belongs to the next civil year
    EXPECT_EQ(month_cycle(1988, 12), 1);  // 12 × 4 + 1 + 12 = 61 → 1
    EXPECT_EQ(month_cycle(1999, 12), 13); // 丙子
}

TEST(SexagenaryCounters, DayCycleOfReducedDayCount) {
    EXPECT_EQ(reduce_day_count(2451544.5), 29944); // 2018 steps of 1200
    EXPECT_EQ(day_cycle(29944), 55);               // 戊午, 2000-01-01
    EXPECT_EQ(day_cycle(9), 60);
    EXPECT_EQ(day_cycle(10), 1);
    EXPECT_EQ(reduce_day_count(30000.5), 30000);
    EXPECT_EQ(reduce_day_count(30001.5), 28801);
    // Reducing keeps the residue modulo 60 over the whole supported range.
    for (double jd = 2268932.5; jd < 2488069.5; jd += 997) {
        const auto n = reduce_day_count(jd);
        EXPECT_LE(n, 30000);
        EXPECT_GT(n, 28800);
        EXPECT_EQ((static_cast<long>(jd) - n) % 60, 0);
    }
}

TEST(SexagenaryCounters, StemAndBranchSplit) {
    EXPECT_EQ(stem_of(55), 5);
    EXPECT_EQ(branch_of(55), 7);
    EXPECT_EQ(stem_of(60), 10);
    EXPECT_EQ(branch_of(60), 12);
    EXPECT_EQ(stem_of(1), 1);
    EXPECT_EQ(branch_of(12), 12);
}

TEST(TermLongitude, StartingAndMiddleTermsWrapAt360) {
    const struct {
        int month, kind;
        double longitude;
    } cases[] = {{1, 0, 285}, {2, 0, 315}, {3, 0, 345},  {4, 0, 15}, {12, 0, 255},
                 {1, 1, 300}, {3, 1, 0},   {12, 1, 270}, {5, 0, 45}};
    for (const auto& c : cases)
        EXPECT_EQ(term_longitude(c.month, c.kind), c.longitude) << c.month << "/" << c.kind;
}

TEST(IntegerOps, NearestTiesToEvenAndModSignFollowsDividend) {
    EXPECT_EQ(nearest(2.5), 2);
    EXPECT_EQ(nearest(3.5), 4);
    EXPECT_EQ(nearest(-2.5), -2);
    EXPECT_EQ(floor_of(-0.5), -1);
    EXPECT_EQ(trunc_of(-1.5), -1);
    EXPECT_EQ(mod(-7, 3), -1);
    EXPECT_EQ(mod(7.5, 3), 2); // 7.5 is taken to 8 first
    EXPECT_EQ(mod(6.5, 4), 2); // 6.5 is taken to 6
}

} // namespace
} // namespace vantora
