#include "chart/number_text.hpp"

#include <charconv>
#include <cstdio>

namespace vantora {

std::string general_text(double x) {
    if (x == 0) return "0";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15G", x);
    return buffer; // %G already drops trailing zeros and writes exponents as E-05 / E+15
}

std::string one_decimal_text(double x) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", x);
    return buffer;
}

double numeric_value(std::string_view text) {
    std::string compact; // the text without blanks
    for (const char c : text) {
        if (c != ' ' && c != '\t') compact.push_back(c);
    }
    std::size_t pos = 0;
    bool negative = false;
    if (pos < compact.size() && (compact[pos] == '+' || compact[pos] == '-')) negative = compact[pos++] == '-';
    const std::size_t start = pos;
    bool point = false;
    while (pos < compact.size() && ((compact[pos] >= '0' && compact[pos] <= '9') || (compact[pos] == '.' && !point))) {
        point = point || compact[pos] == '.';
        ++pos;
    }
    double value = 0;
    std::from_chars(compact.data() + start, compact.data() + pos, value); // "" or "." leave 0
    return negative ? -value : value;
}

} // namespace vantora
