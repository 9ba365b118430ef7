#include "core/solar.hpp"

#include "core/angles.hpp"
#include "core/calendar.hpp"
#include "core/units.hpp"

#include <cmath>

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

void calc_equation_of_center(SunPosition& sun, double t) {
    const double g = sun.anomaly[2];
    sun.lon_part[1] =
        ((6910.057 - 17.24 * t - 0.052 * t * t) * sin_deg(g) + (72.338 - 0.361 * t) * sin_deg(2 * g) +
         (1.054 - 0.001 * t) * sin_deg(3 * g) + 0.018 * sin_deg(4 * g)) /
        kArcsecondsPerDegree;
    sun.radius_part[1] = (3057 - 15 * t) + (-727412 + 1814 * t + 5 * t * t) * cos_deg(g) +
                         (-9138 + 46 * t) * cos_deg(2 * g) + (-145 + t) * cos_deg(3 * g) - 2 * cos_deg(4 * g);
}

void calc_planet_terms(SunPosition& sun, double jd, const TermTables& tables, SunResults results) {
    const double years = (jd - kJd1850) / kDaysPerJulianYear;
    sun.anomaly[0] = 1494.7253 * years + 248.07;  // Mercury
    sun.anomaly[1] = 585.17493 * years + 114.5;   // Venus
    sun.anomaly[3] = 191.39977 * years + 109.856; // Mars
    sun.anomaly[4] = 30.34583 * years + 148.031;  // Jupiter
    sun.anomaly[5] = 12.21794 * years + 284.716;  // Saturn
    const double g = sun.anomaly[2];
    const bool want_longitude = results != SunResults::distance;
    const bool want_distance = results != SunResults::longitude;
    double longitude = 0, radius = 0, latitude = 0;
    // Body numbers were checked to lie in 1..6 when the term files were read.
    for (const PlanetTerm& term : tables.planet_terms) {
        const double m = sun.anomaly[static_cast<std::size_t>(term.p - 1)];
        if (want_longitude) longitude += term.a * cos_deg(term.alpha - term.i * m - term.j * g);
        if (want_distance) radius += term.b * cos_deg(term.beta - term.i * m - term.j * g);
    }
    if (results == SunResults::all) {
        for (const LatitudeTerm& term : tables.latitude_terms) {
            const double m = sun.anomaly[static_cast<std::size_t>(term.p - 1)];
            latitude += term.a * cos_deg(term.alpha - term.i * m - term.j * g);
        }
    }
    sun.lon_part[2] = longitude / kArcsecondsPerDegree;
    sun.radius_part[2] = radius;
    sun.lat_part[2] = latitude / kArcsecondsPerDegree;
}

void calc_moon_terms(SunPosition& sun, double t, SunResults results) {
    const double days = kDaysPerJulianCentury * t;
    const double g = sun.anomaly[2];
    const double t2 = t * t, t3 = t2 * t;
    const double d = 350.737486 + 12.19074919142 * days - 0.00143611 * t2 + 1.89e-6 * t3; // elongation
    const double l = 296.104608 + 13.0649924465 * days + 0.00919167 * t2 + 1.439e-5 * t3; // Moon's anomaly
    const double f = 11.250889 + 13.22935044901 * days - 0.00321111 * t2 - 3.3e-7 * t3;   // arg. of latitude
    const double e = 20.513403 + 1.038601257586 * days - 0.00177528 * t2 - 2.22e-6 * t3;  // F − D
    const double node =
        259.183275 - 0.0529539222 * days + 1.557e-12 * days * days + 4.6e-20 * days * days * days;

    sun.lon_part[3] =
        (6.454 * sin_deg(d) + 0.013 * sin_deg(3 * d) + 0.177 * sin_deg(d + l) - 0.424 * sin_deg(d - l) +
         0.039 * sin_deg(3 * d - l) - 0.064 * sin_deg(d + g) + 0.172 * sin_deg(d - g)) /
        kArcsecondsPerDegree;
    sun.radius_part[3] = 1336 * cos_deg(d) + 3 * cos_deg(3 * d) + 37 * cos_deg(d + l) - 133 * cos_deg(d - l) +
                         8 * cos_deg(3 * d - l) - 14 * cos_deg(d + g) + 36 * cos_deg(d - g);
    sun.lat_part[3] =
        (0.576 * sin_deg(f) + 0.016 * sin_deg(f + l) - 0.047 * sin_deg(f - l) + 0.021 * sin_deg(f - 2 * e)) /
        kArcsecondsPerDegree;
    if (results == SunResults::distance) return; // the nutation moves only the longitude
    // The nutation takes its own, slightly different polynomial for the argument of latitude.
    const double f2 = 11.250889 + 13.229350449 * days - 2.407e-12 * days * days - 7e-21 * days * days * days;
    sun.lon_part[3] += nutation_longitude(l, sun.sun_mean_anomaly, f2, d, node, t);
}

void calc_long_period(SunPosition& sun, double t) {
    sun.lon_part[4] = (0.202 * sin_deg(315.6 + 893.3 * t) + sun.long_period_sum) / kArcsecondsPerDegree;
}

} // namespace

SunPosition calc_sun_position(double year, double month, double day, const TermTables& tables,
                              SunResults results) {
    SunPosition sun;
    sun.jd_now = julian_day(year, month, day);
    const double t = julian_century(sun.jd_now);
    calc_mean_longitude(sun, t);
    calc_mean_anomaly(sun, t);
    calc_equation_of_center(sun, t);
    calc_planet_terms(sun, sun.jd_now, tables, results);
    calc_moon_terms(sun, t, results);
    calc_long_period(sun, t);
    if (results != SunResults::distance) {
        const double lambda =
            sun.lon_part[1] + sun.lon_part[0] + sun.lon_part[2] + sun.lon_part[3] + sun.lon_part[4];
        sun.sun_longitude = normalize_degrees(lambda);
    }
    if (results != SunResults::longitude) {
        sun.sun_distance =
            std::pow(10.0, (sun.radius_part[3] + sun.radius_part[1]) * 1e-8 + sun.radius_part[2] * 1e-9);
    }
    if (results == SunResults::all) sun.sun_latitude = sun.lat_part[3] - sun.lat_part[2];
    return sun;
}

} // namespace vantora
