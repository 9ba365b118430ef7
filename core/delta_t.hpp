// ΔT = TT − UT: how far the dynamical time scale of the solar theory runs ahead of the time the
// Earth's rotation keeps.
#pragma once

namespace vantora {

/// ΔT in seconds of time at a decimal year (2008.5 is mid-2008), by the polynomial expressions of
/// F. Espenak and J. Meeus, "Five Millennium Canon of Solar Eclipses: −1999 to +3000" (NASA
/// TP-2006-214141), section 2.6. Valid for the birth years, 1500..2100 (about ±20 s before 1600,
/// ±1 s after 1900); outside them the same long-term parabola −20 + 32u² (u = (y − 1820)/100) the
/// canon uses before −500 and after 2150 is given.
double delta_t_seconds(double decimal_year);

/// The decimal year of a Julian day, counted in mean Gregorian years from 2000 January 1, 0h.
double decimal_year(double jd);

} // namespace vantora
