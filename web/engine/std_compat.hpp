// Floating-point std::to_chars and std::from_chars, std::make_unique_for_overwrite and the few
// range algorithms the engine calls, for the WebAssembly build, whose standard library (libc++ 13)
// lacks them. The build includes this
// header before every source, so that the engine keeps one source for both builds; the native
// build uses its own library, and a test holds the two to the same texts.
//
// The conversions go through the C library, whose printf and strtod round exactly: a text with a
// precision is printf's; the shortest text is the fewest significant digits (1 to 17) that strtod
// reads back as the same double, placed as fixed or scientific notation the way to_chars places
// them.
#pragma once

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>

namespace vantora::compat {

/// Copies text into [first, last): the end of the copy, or a value_too_large result.
inline std::to_chars_result copy_text(char* first, char* last, std::string_view text) {
    if (static_cast<std::size_t>(last - first) < text.size()) return {last, std::errc::value_too_large};
    std::memcpy(first, text.data(), text.size());
    return {first + text.size(), std::errc{}};
}

/// x as printf writes it with the given format and precision (room for any double).
inline std::to_chars_result printf_text(char* first, char* last, const char* format, int precision,
                                        double x) {
    char text[400];
    const int length = std::snprintf(text, sizeof text, format, precision, x);
    return copy_text(first, last, std::string_view(text, static_cast<std::size_t>(length)));
}

/// The shortest round-trip digits of a finite |x|: "d…d" without trailing zeros, and the
/// power of ten of the first digit (x = d.d…d × 10^exponent).
struct ShortestDigits {
    char digits[18] = {};
    int count = 0;
    int exponent = 0;
};

inline ShortestDigits shortest_digits(double x) {
    char text[40];
    for (int precision = 0;; ++precision) { // 17 significant digits always read back
        std::snprintf(text, sizeof text, "%.*e", precision, std::fabs(x));
        if (precision == 16 || std::strtod(text, nullptr) == std::fabs(x)) break;
    }
    ShortestDigits shortest;
    const char* p = text;
    for (; *p != 'e'; ++p) {
        if (*p != '.') shortest.digits[shortest.count++] = *p;
    }
    shortest.exponent = std::atoi(p + 1);
    while (shortest.count > 1 && shortest.digits[shortest.count - 1] == '0') --shortest.count;
    return shortest;
}

/// The shortest digits in fixed notation ("1234.5", "0.00012", "1200").
inline std::string_view place_fixed(const ShortestDigits& d, bool negative, char* text) {
    char* out = text;
    if (negative) *out++ = '-';
    if (d.exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        for (int k = -1; k > d.exponent; --k) *out++ = '0';
        for (int k = 0; k < d.count; ++k) *out++ = d.digits[k];
    } else {
        for (int k = 0; k <= d.exponent || k < d.count; ++k) {
            if (k == d.exponent + 1) *out++ = '.';
            *out++ = k < d.count ? d.digits[k] : '0';
        }
    }
    return {text, static_cast<std::size_t>(out - text)};
}

/// The shortest digits in scientific notation as printf writes it ("1.5e-05", "1e+20").
inline std::string_view place_scientific(const ShortestDigits& d, bool negative, char* text) {
    char* out = text;
    if (negative) *out++ = '-';
    *out++ = d.digits[0];
    if (d.count > 1) *out++ = '.';
    for (int k = 1; k < d.count; ++k) *out++ = d.digits[k];
    out += std::snprintf(out, 8, "e%c%02d", d.exponent < 0 ? '-' : '+', std::abs(d.exponent));
    return {text, static_cast<std::size_t>(out - text)};
}

/// Infinities and NaN as to_chars writes them; false for other values.
inline bool special_text(double x, std::string_view& text) {
    if (std::isnan(x))
        text = std::signbit(x) ? "-nan" : "nan";
    else if (std::isinf(x))
        text = x < 0 ? "-inf" : "inf";
    else
        return false;
    return true;
}

/// The shortest text that reads back as x, in fmt: fixed, scientific, or general (as printf's %g
/// places it: scientific below 1e-4 and from 1e6 on). A whole number in fixed notation is written
/// exactly.
inline std::to_chars_result to_chars(char* first, char* last, double x, std::chars_format fmt) {
    std::string_view special;
    if (special_text(x, special)) return copy_text(first, last, special);
    if (fmt == std::chars_format::fixed && x == std::trunc(x)) return printf_text(first, last, "%.*f", 0, x);
    const ShortestDigits d = shortest_digits(x);
    char text[400];
    const bool fixed = fmt == std::chars_format::fixed ||
                       (fmt == std::chars_format::general && d.exponent >= -4 && d.exponent < 6);
    return copy_text(first, last,
                     fixed ? place_fixed(d, std::signbit(x), text)
                           : place_scientific(d, std::signbit(x), text));
}

/// The shortest text that reads back as x: fixed or scientific notation, whichever has fewer
/// characters, fixed on a tie (a whole number in fixed notation written exactly).
inline std::to_chars_result to_chars(char* first, char* last, double x) {
    std::string_view special;
    if (special_text(x, special)) return copy_text(first, last, special);
    const ShortestDigits d = shortest_digits(x);
    char fixed[400], scientific[40];
    std::string_view fixed_text;
    if (x == std::trunc(x)) {
        fixed_text = {fixed, static_cast<std::size_t>(std::snprintf(fixed, sizeof fixed, "%.0f", x))};
    } else {
        fixed_text = place_fixed(d, std::signbit(x), fixed);
    }
    const auto scientific_text = place_scientific(d, std::signbit(x), scientific);
    return copy_text(first, last, fixed_text.size() <= scientific_text.size() ? fixed_text : scientific_text);
}

/// x with `precision` digits as printf's %f, %e or %g writes it.
inline std::to_chars_result to_chars(char* first, char* last, double x, std::chars_format fmt,
                                     int precision) {
    const char* format = fmt == std::chars_format::fixed        ? "%.*f"
                         : fmt == std::chars_format::scientific ? "%.*e"
                                                                : "%.*g";
    return printf_text(first, last, format, precision, x);
}

/// Reads a decimal number as from_chars does in general format: an optional '-', digits with an
/// optional point and an optional exponent, or "inf", "infinity", "nan" in any case; no blank, no
/// '+', no hexadecimal. A value beyond the doubles, or one that underflows to zero, leaves value
/// as it was and says result_out_of_range.
inline std::from_chars_result from_chars(const char* first, const char* last, double& value) {
    const char* p = first;
    const auto digits = [&p, last] {
        const char* from = p;
        while (p < last && *p >= '0' && *p <= '9') ++p;
        return p - from;
    };
    const auto word = [&p, last](std::string_view w) {
        if (static_cast<std::size_t>(last - p) < w.size()) return false;
        for (std::size_t k = 0; k < w.size(); ++k) {
            if ((p[k] | 0x20) != w[k]) return false;
        }
        p += w.size();
        return true;
    };
    const bool negative = p < last && *p == '-';
    p += negative;
    std::optional<double> special; // infinity or NaN, whose payload from_chars does not keep
    if (word("inf")) {
        word("inity");
        special = std::numeric_limits<double>::infinity();
    } else if (word("nan")) {
        special = std::numeric_limits<double>::quiet_NaN();
        const char* open = p;
        if (p < last && *p == '(') {
            ++p;
            while (p < last && (std::isalnum(static_cast<unsigned char>(*p)) || *p == '_')) ++p;
            if (p < last && *p == ')')
                ++p;
            else
                p = open;
        }
    } else {
        auto count = digits();
        if (p < last && *p == '.') {
            ++p;
            count += digits();
        }
        if (count == 0) return {first, std::errc::invalid_argument};
        const char* mantissa_end = p;
        if (p < last && (*p == 'e' || *p == 'E')) {
            ++p;
            if (p < last && (*p == '+' || *p == '-')) ++p;
            if (digits() == 0) p = mantissa_end;
        }
    }
    if (special) {
        value = negative ? -*special : *special;
        return {p, std::errc{}};
    }
    const std::string text(first, p);
    errno = 0;
    const double read = std::strtod(text.c_str(), nullptr);
    if (errno == ERANGE && (read == 0 || std::isinf(read))) return {p, std::errc::result_out_of_range};
    value = read;
    return {p, std::errc{}};
}

} // namespace vantora::compat

#if defined(__EMSCRIPTEN__)
namespace std {
inline to_chars_result to_chars(char* first, char* last, double x) {
    return vantora::compat::to_chars(first, last, x);
}
inline to_chars_result to_chars(char* first, char* last, double x, chars_format fmt) {
    return vantora::compat::to_chars(first, last, x, fmt);
}
inline to_chars_result to_chars(char* first, char* last, double x, chars_format fmt, int precision) {
    return vantora::compat::to_chars(first, last, x, fmt, precision);
}
inline from_chars_result from_chars(const char* first, const char* last, double& value) {
    return vantora::compat::from_chars(first, last, value);
}
template <class T>
requires is_unbounded_array_v<T> unique_ptr<T> make_unique_for_overwrite(size_t n) {
    return unique_ptr<T>(new remove_extent_t<T>[n]);
}
namespace ranges {
// Whole-range forms of the algorithms the engine calls (add one here when a source calls another).
template <class Range, class Order = std::less<>> void sort(Range&& range, Order order = {}) {
    std::sort(std::begin(range), std::end(range), order);
}
template <class Range, class Predicate> bool all_of(Range&& range, Predicate predicate) {
    return std::all_of(std::begin(range), std::end(range), predicate);
}
template <class Range, class Value> auto find(Range&& range, const Value& value) {
    return std::find(std::begin(range), std::end(range), value);
}
} // namespace ranges
} // namespace std
#endif
