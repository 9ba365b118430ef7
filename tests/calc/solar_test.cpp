// The solar theory and the equation of time.
#include "chart/compute_chart.hpp"
#include "core/angles.hpp"
#include "core/calendar.hpp"
#include "core/equation_of_time.hpp"
#include "core/solar.hpp"
#include "test_tables.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <random>
#include <vector>

namespace vantora {
namespace {

using testing::real_tables;

TEST(NormalizeDegrees, ReducesIntoOneTurn) {
    const struct { double in, out; } cases[] = {{-0.5, 359.5}, {360, 0}, {725, 5}, {0, 0}, {-720.25, 359.75}};
    for (const auto& c : cases) EXPECT_NEAR(normalize_degrees(c.in), c.out, 1e-9) << c.in;
}

TEST(NormalizeDegrees, TinyNegativeAngleGivesZeroNotFullTurn) {
    // (x/360 − floor(x/360)) × 360 rounds to exactly 360 here; 0 ≤ result < 360 must still hold.
    for (const double x : {-1e-14, -1e-15, -5e-17}) {
        const double reduced = normalize_degrees(x);
        EXPECT_GE(reduced, 0) << x;
        EXPECT_LT(reduced, 360) << x;
    }
    EXPECT_EQ(normalize_degrees(-1e-14), 0);
}

TEST(SolarTheory, ComponentsAtTheEpoch) {
    const SunPosition sun = calc_sun_position(1900, 1, 0.5, real_tables());
    EXPECT_EQ(sun.jd_now, 2415020.0);
    EXPECT_NEAR(sun.lon_part[0], 279.696677778, 1e-12);
    EXPECT_NEAR(sun.sun_mean_anomaly, 358.475833333, 1e-12);
}

TEST(Nutation, SumsAtTheEpochAndInAWorkedExample) {
    // At T = 0 the node term dominates: −17.2327″ × sin 259.183275° ≈ +16.93″, the whole sum ≈ +17.38″.
    const double d = 350.737486, l = 296.104608, f = 11.250889, node = 259.183275, l_sun = 358.475833333;
    EXPECT_NEAR(nutation_longitude(l, l_sun, f, d, node, 0) * 3600, 17.38, 0.01);
    // Meeus, Astronomical Algorithms, example 22.a (1987 April 10, 0h TD, T = 0.8727 from 1900):
    // D = 136.9623°, M = 94.9792°, M′ = 229.2784°, F = 143.4079°, Ω = 11.2531°, Δψ = −3.788″ by the
    // IAU 1980 series; Woolard's amplitudes differ from it by up to a few hundredths of a second.
    EXPECT_NEAR(nutation_longitude(229.2784, 94.9792, 143.4079, 136.9623, 11.2531, 0.8727036) * 3600, -3.788,
                0.03);
    // 2000-01-01 12h UT: the Earth is near perihelion, 0.98333 AU from the Sun.
    const SunPosition sun = calc_sun_position(2000, 1, 1.5, real_tables());
    EXPECT_NEAR(sun.sun_distance, 0.9833, 0.0002);
}

struct SunCase {
    const char* name;
    double year, month, day; // Universal Time
    double longitude, tolerance;
};

TEST(SolarTheory, EquinoxAndSolsticeLongitudesOf2000) {
    const SunCase cases[] = {
        // 2000 March 20 07:30 UT, minutes before the equinox of 07:35 UT.
        {"March equinox", 2000, 3, 20.3125, 0.0, 0.01},
        {"June solstice", 2000, 6, 21.075, 90.005, 0.01},
        // 2000 September 22 17:28 UT and December 21 13:37 UT.
        {"September equinox", 2000, 9, 22 + 17.47 / 24, 180.0, 0.01},
        {"December solstice", 2000, 12, 21 + 13.62 / 24, 270.0, 0.01},
    };
    for (const auto& c : cases) {
        const double got = calc_sun_position(c.year, c.month, c.day, real_tables()).sun_longitude;
        double deviation = std::fabs(got - c.longitude);
        deviation = std::min(deviation, 360 - deviation); // across 0°
        EXPECT_LE(deviation, c.tolerance) << c.name << ": " << got;
    }
}

TEST(SolarTheory, ResultsStayInRangeOverFiveCenturies) {
    double lowest = 2, highest = 0;
    for (double jd = julian_day(1500, 1, 1); jd < julian_day(2100, 1, 1); jd += 3.7) {
        // Day numbers past the month's end are fine: julian_day carries them.
        const SunPosition sun = calc_sun_position(2000, 1, 1 + (jd - julian_day(2000, 1, 1)), real_tables());
        ASSERT_GE(sun.sun_longitude, 0);
        ASSERT_LT(sun.sun_longitude, 360);
        lowest = std::min(lowest, sun.sun_distance);
        highest = std::max(highest, sun.sun_distance);
        ASSERT_LT(std::fabs(sun.sun_latitude), 0.001);
    }
    EXPECT_GT(lowest, 0.982);
    EXPECT_LT(highest, 1.018);
}

TEST(SolarTheory, EmptyPlanetTableLeavesOnlyTheAnalyticTerms) {
    // The March equinox case without table terms comes to 0.0020°; with them within 0.01° of 0.
    TermTables none;
    for (auto& row : none.planet_terms) row = PlanetTerm{1, 0, 0, 0, 0, 0, 0};
    for (auto& row : none.latitude_terms) row = LatitudeTerm{1, 0, 0, 0, 0};
    const SunPosition sun = calc_sun_position(2000, 3, 20.3125, none);
    EXPECT_NEAR(sun.sun_longitude, 0.0020, 0.0005);
    EXPECT_EQ(sun.lon_part[2], 0);
}

TEST(EquationOfTime, ElementsAtTheEpoch) {
    EXPECT_DOUBLE_EQ(obliquity(0), 23.452294);
    EXPECT_DOUBLE_EQ(mean_longitude(0), 279.696678);
    EXPECT_DOUBLE_EQ(perigee_longitude(0), 281.2206);
    EXPECT_DOUBLE_EQ(eccentricity(0), 0.0167498);
    for (const double t : {-4.0, -2.5, -0.01}) {
        EXPECT_GE(mean_longitude(t), 0);
        EXPECT_LT(mean_longitude(t), 360);
    }
    EXPECT_EQ(equation_of_time(0, 123.4, 0, 56.7, 0), 0);
}

/// The equation of time in minutes of time as the chart takes it.
double eot_minutes_at(double year, double month, double day) {
    return calc_eot_minutes(year, month, day).zg2;
}

TEST(EquationOfTime, ValuesOf2000AtNoon) {
    const struct {
        int month, day;
        double minutes;
    } cases[] = {{2, 11, -14.27}, {5, 14, 3.68}, {7, 26, -6.51}, {11, 3, 16.47}};
    for (const auto& c : cases)
        EXPECT_NEAR(eot_minutes_at(2000, c.month, c.day + 0.5), c.minutes, 0.01) << c.month;
    double lowest = 0, highest = 0;
    for (int d = 0; d < 366; ++d) {
        const double e = eot_minutes_at(2000, 1, 1.5 + d);
        lowest = std::min(lowest, e);
        highest = std::max(highest, e);
    }
    EXPECT_GT(lowest, -14.6);
    EXPECT_LT(highest, 16.6);
}

} // namespace
} // namespace vantora

namespace vantora {
namespace {

TEST(SolarTheory, PartialResultsEqualTheFullComputation) {
    for (const double day : {1.0, 10.37, 20.3125, 28.9}) {
        const SunPosition all = calc_sun_position(1987, 7, day, testing::real_tables());
        const SunPosition longitude =
            calc_sun_position(1987, 7, day, testing::real_tables(), SunResults::longitude);
        const SunPosition distance =
            calc_sun_position(1987, 7, day, testing::real_tables(), SunResults::distance);
        EXPECT_EQ(longitude.sun_longitude, all.sun_longitude) << day;
        EXPECT_EQ(distance.sun_distance, all.sun_distance) << day;
        EXPECT_EQ(longitude.sun_distance, 0);
        EXPECT_EQ(distance.sun_longitude, 0);
    }
}

} // namespace
} // namespace vantora

namespace vantora {
namespace {

/// Instants from 1500 to 2099, the days with a fraction, as the chart asks for them.
std::vector<double> random_days(std::size_t count) {
    std::mt19937_64 random(2026);
    std::uniform_real_distribution<double> day(julian_day(1500, 1, 1), julian_day(2100, 1, 1));
    std::vector<double> days(count);
    for (double& d : days) d = day(random);
    return days;
}

TEST(VectorMaths, SinesAndCosinesStayWithinTheClaimedDifference) {
    if (fastest_series_maths() != SeriesMaths::vector) GTEST_SKIP() << "no AVX2 and FMA here";
    std::mt19937_64 random(7);
    // The series' arguments reach some 10^6 degrees (Mercury's anomaly times its multipliers).
    std::uniform_real_distribution<double> angle(-2e6, 2e6);
    std::vector<double> degrees(100003); // not a multiple of four: the last group is padded
    for (double& d : degrees) d = angle(random);
    degrees[0] = 0;
    degrees[1] = 90;
    std::vector<double> scalar(degrees.size()), vector(degrees.size());
    for (const bool cosine : {true, false}) {
        const auto each = cosine ? cos_deg_each : sin_deg_each;
        each(degrees, scalar, SeriesMaths::scalar);
        each(degrees, vector, SeriesMaths::vector);
        for (std::size_t k = 0; k < degrees.size(); ++k)
            ASSERT_LE(std::abs(vector[k] - scalar[k]), kVectorSineDifference) << degrees[k] << " " << cosine;
    }
}

TEST(VectorMaths, SolarPositionsEqualTheScalarOnesAndMostStayOnTheVectorPath) {
    if (fastest_series_maths() != SeriesMaths::vector) GTEST_SKIP() << "no AVX2 and FMA here";
    int on_vector_path = 0;
    const auto days = random_days(20000);
    for (const double jd : days) {
        const double day = 1 + (jd - julian_day(2000, 1, 1));
        const SunPosition scalar =
            calc_sun_position(2000, 1, day, real_tables(), SunResults::all, SeriesMaths::scalar);
        const SunPosition vector =
            calc_sun_position(2000, 1, day, real_tables(), SunResults::all, SeriesMaths::vector);
        ASSERT_EQ(vector.sun_longitude, scalar.sun_longitude) << jd;
        ASSERT_EQ(vector.sun_latitude, scalar.sun_latitude) << jd;
        ASSERT_LE(std::abs(vector.sun_distance - scalar.sun_distance),
                  kVectorDistanceDifference * scalar.sun_distance)
            << jd;
        on_vector_path += vector.maths == SeriesMaths::vector;
    }
    // The checks fall back to the scalar path for a few per cent of instants, not for most.
    EXPECT_GT(on_vector_path, 18000);
    std::cout << on_vector_path << " of " << days.size() << " positions stayed on the vector path\n";
}

} // namespace
} // namespace vantora
