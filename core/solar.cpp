#include "core/solar.hpp"

#include "core/angle_series.hpp"
#include "core/angles.hpp"
#include "core/calendar.hpp"
#include "core/units.hpp"

#include <cmath>
#include <tuple>
#include <utility>

namespace vantora {
namespace {

/// JD 2396758.0, 1850 January 0.5: epoch of the planets' mean anomalies.
constexpr double kJd1850 = 2396758.0;
constexpr double kDaysPerJulianYear = 365.25;

// The component steps, in the order calc_sun_position runs them; each reads what the earlier
// ones left in `sun` (g = anomaly[2], sun_mean_anomaly, long_period_sum).

void calc_mean_longitude(SunPosition& sun, double t) {
    sun.lon_part[0] = normalize_degrees(279.696677778 + 36000.768925 * t + 3.025e-4 * t * t);
}

void calc_mean_anomaly(SunPosition& sun, double t) {
    sun.sun_mean_anomaly = 358.475833333 + 35999.04975 * t - 0.00015 * t * t - 3.3333e-6 * t * t * t;
    sun.long_period_sum = (1.882 - 0.016 * t) * sin_deg(57.24 + 150.27 * t) +
                          6.4 * sin_deg(231.19 + 20.2 * t) + 0.266 * sin_deg(31.8 + 119.0 * t);
    sun.anomaly[2] = normalize_degrees(sun.sun_mean_anomaly + sun.long_period_sum / kArcsecondsPerDegree);
}

void calc_equation_of_center(SunPosition& sun, double t, SunResults results) {
    const double g = sun.anomaly[2];
    if (results != SunResults::distance) {
        sun.lon_part[1] =
            ((6910.057 - 17.24 * t - 0.052 * t * t) * sin_deg(g) + (72.338 - 0.361 * t) * sin_deg(2 * g) +
             (1.054 - 0.001 * t) * sin_deg(3 * g) + 0.018 * sin_deg(4 * g)) /
            kArcsecondsPerDegree;
    }
    if (results != SunResults::longitude) {
        sun.radius_part[1] = (3057 - 15 * t) + (-727412 + 1814 * t + 5 * t * t) * cos_deg(g) +
                             (-9138 + 46 * t) * cos_deg(2 * g) + (-145 + t) * cos_deg(3 * g) -
                             2 * cos_deg(4 * g);
    }
}

/// How far the planetary longitude sum (seconds of arc) and the nutation (degrees) of the vector
/// path may lie from the scalar ones; 0 on the scalar path.
struct SeriesSlack {
    double longitude = 0, nutation = 0;
};

void calc_planet_terms(SunPosition& sun, double jd, const TermTables& tables, SunResults results,
                       SeriesSlack& slack) {
    const double years = (jd - kJd1850) / kDaysPerJulianYear;
    sun.anomaly[0] = 1494.7253 * years + 248.07;  // Mercury
    sun.anomaly[1] = 585.17493 * years + 114.5;   // Venus
    sun.anomaly[3] = 191.39977 * years + 109.856; // Mars
    sun.anomaly[4] = 30.34583 * years + 148.031;  // Jupiter
    sun.anomaly[5] = 12.21794 * years + 284.716;  // Saturn
    const double g = sun.anomaly[2];
    // The arguments first, then their cosines all at once (angle_series.hpp), then the sum in the
    // order of the table. Body numbers were checked to lie in 1..6 when the files were read.
    const auto series = [&](const auto& terms, auto phase, auto amplitude, SeriesMaths maths) {
        std::array<double, std::tuple_size_v<std::decay_t<decltype(terms)>>> argument, cosine;
        double amplitude_sum = 0;
        for (std::size_t k = 0; k < terms.size(); ++k) {
            const double m = sun.anomaly[static_cast<std::size_t>(terms[k].p - 1)];
            argument[k] = phase(terms[k]) - terms[k].i * m - terms[k].j * g;
            amplitude_sum += std::abs(amplitude(terms[k]));
        }
        cos_deg_each(argument, cosine, maths);
        double sum = 0;
        for (std::size_t k = 0; k < terms.size(); ++k) sum += amplitude(terms[k]) * cosine[k];
        return std::pair{
            sum, maths == SeriesMaths::vector ? series_difference_bound(amplitude_sum, terms.size()) : 0.0};
    };
    const auto alpha = [](const auto& t) { return t.alpha; };
    const auto a = [](const auto& t) { return t.a; };
    double longitude = 0, radius = 0, latitude = 0;
    if (results != SunResults::distance)
        std::tie(longitude, slack.longitude) = series(tables.planet_terms, alpha, a, sun.maths);
    if (results != SunResults::longitude) {
        radius = series(
                     tables.planet_terms, [](const PlanetTerm& t) { return t.beta; },
                     [](const PlanetTerm& t) { return t.b; }, sun.maths)
                     .first;
    }
    // The latitude, a small difference of two small sums, would rarely survive the vector path's
    // check; it is always summed on the scalar path (charts do not use it).
    if (results == SunResults::all)
        latitude = series(tables.latitude_terms, alpha, a, SeriesMaths::scalar).first;
    sun.lon_part[2] = longitude / kArcsecondsPerDegree;
    sun.radius_part[2] = radius;
    sun.lat_part[2] = latitude / kArcsecondsPerDegree;
}

void calc_moon_terms(SunPosition& sun, double t, SunResults results, SeriesSlack& slack) {
    const double days = kDaysPerJulianCentury * t;
    const double g = sun.anomaly[2];
    const double t2 = t * t, t3 = t2 * t;
    const double d = 350.737486 + 12.19074919142 * days - 0.00143611 * t2 + 1.89e-6 * t3; // elongation
    const double l = 296.104608 + 13.0649924465 * days + 0.00919167 * t2 + 1.439e-5 * t3; // Moon's anomaly
    const double f = 11.250889 + 13.22935044901 * days - 0.00321111 * t2 - 3.3e-7 * t3;   // arg. of latitude
    const double e = 20.513403 + 1.038601257586 * days - 0.00177528 * t2 - 2.22e-6 * t3;  // F − D
    const double node =
        259.183275 - 0.0529539222 * days + 1.557e-12 * days * days + 4.6e-20 * days * days * days;

    if (results != SunResults::longitude) {
        sun.radius_part[3] = 1336 * cos_deg(d) + 3 * cos_deg(3 * d) + 37 * cos_deg(d + l) -
                             133 * cos_deg(d - l) + 8 * cos_deg(3 * d - l) - 14 * cos_deg(d + g) +
                             36 * cos_deg(d - g);
    }
    if (results == SunResults::all) {
        sun.lat_part[3] = (0.576 * sin_deg(f) + 0.016 * sin_deg(f + l) - 0.047 * sin_deg(f - l) +
                           0.021 * sin_deg(f - 2 * e)) /
                          kArcsecondsPerDegree;
    }
    if (results == SunResults::distance) return; // the rest moves only the longitude
    sun.lon_part[3] =
        (6.454 * sin_deg(d) + 0.013 * sin_deg(3 * d) + 0.177 * sin_deg(d + l) - 0.424 * sin_deg(d - l) +
         0.039 * sin_deg(3 * d - l) - 0.064 * sin_deg(d + g) + 0.172 * sin_deg(d - g)) /
        kArcsecondsPerDegree;
    // The nutation takes its own, slightly different polynomial for the argument of latitude.
    const double f2 = 11.250889 + 13.229350449 * days - 2.407e-12 * days * days - 7e-21 * days * days * days;
    sun.lon_part[3] += nutation_longitude(l, sun.sun_mean_anomaly, f2, d, node, t, sun.maths);
    if (sun.maths == SeriesMaths::vector) slack.nutation = nutation_difference_bound(t);
}

void calc_long_period(SunPosition& sun, double t) {
    sun.lon_part[4] = (0.202 * sin_deg(315.6 + 893.3 * t) + sun.long_period_sum) / kArcsecondsPerDegree;
}

} // namespace

SunPosition calc_sun_position(double year, double month, double day, const TermTables& tables,
                              SunResults results, SeriesMaths maths) {
    SunPosition sun;
    sun.maths = maths == SeriesMaths::vector ? fastest_series_maths() : SeriesMaths::scalar;
    sun.jd_now = julian_day(year, month, day);
    const double t = julian_century(sun.jd_now);
    SeriesSlack slack;
    calc_mean_longitude(sun, t);
    calc_mean_anomaly(sun, t);
    calc_equation_of_center(sun, t, results);
    calc_planet_terms(sun, sun.jd_now, tables, results, slack);
    calc_moon_terms(sun, t, results, slack);
    if (results != SunResults::distance) calc_long_period(sun, t);
    // On the vector path the planetary sums and the nutation may differ from the scalar ones by
    // up to their slack. The longitude is that of the scalar path whenever the
    // additions that take those sums in round alike for every value within the slack (about 93 %
    // of instants); otherwise the position is computed again on the scalar path. (u: a rounding of
    // a component that was already off may move it by one more unit of its last place.)
    constexpr double u = 0x1p-52;
    if (results != SunResults::distance) {
        const double head = sun.lon_part[1] + sun.lon_part[0];
        const double planets_slack = slack.longitude / kArcsecondsPerDegree + u * std::abs(sun.lon_part[2]);
        const double moon_slack = slack.nutation + 2 * u * std::abs(sun.lon_part[3]);
        if (sun.maths == SeriesMaths::vector &&
            (!sum_rounds_alike(head, sun.lon_part[2], planets_slack) ||
             !sum_rounds_alike(head + sun.lon_part[2], sun.lon_part[3], moon_slack))) {
            return calc_sun_position(year, month, day, tables, results, SeriesMaths::scalar);
        }
        const double lambda =
            sun.lon_part[1] + sun.lon_part[0] + sun.lon_part[2] + sun.lon_part[3] + sun.lon_part[4];
        sun.sun_longitude = normalize_degrees(lambda);
    }
    if (results == SunResults::all) sun.sun_latitude = sun.lat_part[3] - sun.lat_part[2];
    // The distance is not checked here: a last-place change of its exponent is far below what its
    // callers keep (see kVectorDistanceDifference).
    if (results != SunResults::longitude) {
        sun.sun_distance =
            std::pow(10.0, (sun.radius_part[3] + sun.radius_part[1]) * 1e-8 + sun.radius_part[2] * 1e-9);
    }
    return sun;
}

} // namespace vantora
