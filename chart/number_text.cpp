#include "chart/number_text.hpp"

#include <algorithm>
#include <charconv>

namespace vantora {
namespace {

/// Room for general_text of any double: sign, 15 digits, point and exponent.
constexpr std::size_t kGeneralTextRoom = 32;

/// Writes general_text(x) into buffer (kGeneralTextRoom characters); returns the end of the text.
char* write_general_text(char* buffer, double x) {
    if (x == 0) {
        *buffer = '0';
        return buffer + 1;
    }
    // Most shown numbers are whole: below 1e15 in magnitude %.15g writes them as plain integers,
    // which the integer conversion does some ten times faster.
    if (x > -1e15 && x < 1e15 && x == static_cast<double>(static_cast<long long>(x)))
        return std::to_chars(buffer, buffer + kGeneralTextRoom, static_cast<long long>(x)).ptr;
    // As printf's %.15g: trailing zeros dropped, exponents of at least two digits ("1e-05").
    char* const end = std::to_chars(buffer, buffer + kGeneralTextRoom, x, std::chars_format::general, 15).ptr;
    std::replace(buffer, end, 'e', 'E');
    return end;
}

} // namespace

std::string general_text(double x) {
    char buffer[kGeneralTextRoom];
    return std::string(buffer, write_general_text(buffer, x));
}

void append_general_text(std::string& out, double x, std::string_view unit) {
    char buffer[kGeneralTextRoom];
    out.append(buffer, write_general_text(buffer, x));
    out += unit;
}

std::string one_decimal_text(double x) {
    char buffer[400]; // room for any double in fixed notation
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, 1).ptr;
    return std::string(buffer, end);
}

double numeric_value(std::string_view text) {
    std::string compact; // the text without blanks
    for (const char c : text) {
        if (c != ' ' && c != '\t') compact.push_back(c);
    }
    std::size_t pos = 0;
    bool negative = false;
    if (pos < compact.size() && (compact[pos] == '+' || compact[pos] == '-'))
        negative = compact[pos++] == '-';
    const std::size_t start = pos;
    bool point = false;
    while (pos < compact.size() &&
           ((compact[pos] >= '0' && compact[pos] <= '9') || (compact[pos] == '.' && !point))) {
        point = point || compact[pos] == '.';
        ++pos;
    }
    double value = 0;
    std::from_chars(compact.data() + start, compact.data() + pos, value); // "" or "." leave 0
    return negative ? -value : value;
}

} // namespace vantora
