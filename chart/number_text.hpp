// How numbers are written in the chart's texts.
#pragma once

#include <string>
#include <string_view>

namespace vantora {

/// The general conversion: the shortest decimal form with at most 15 significant digits,
/// "." as decimal point, no blank or grouping (1975, -3, 45.8542581232799); exponents as
/// "1E-05" for very small or large magnitudes. Zero of either sign is "0".
std::string general_text(double x);

/// Appends general_text(x) and then unit to out ("1975" and "年": "1975年"), without a string of
/// its own: for texts built from several parts.
void append_general_text(std::string& out, double x, std::string_view unit = {});

/// One decimal, rounded ("0.0" / "#0.0" patterns): 5 → "5.0", 27.77 → "27.8".
std::string one_decimal_text(double x);

/// The numeric value of a text as the input boxes read it: blanks ignored, an optional sign and
/// the longest leading decimal number (digits with at most one point); the rest is ignored and a
/// text without a leading number is 0. numeric_value(" -12abc") = -12.
double numeric_value(std::string_view text);

} // namespace vantora
