// The WebAssembly build's floating-point conversions (web/engine/std_compat.hpp) against the
// native standard library: every text the charts show or the requests read must come out the same.
#include "web/engine/std_compat.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

/// Doubles of every kind: the edges, the magnitudes the charts show (days, degrees, minutes with
/// tenths) and random bit patterns over the whole range.
std::vector<double> sample_doubles() {
    std::vector<double> xs{0.0,
                           -0.0,
                           1.0,
                           0.1,
                           1e-5,
                           1e21,
                           1e22,
                           1e23,
                           9007199254740993.0,
                           123456789012345680.0,
                           0.05,
                           0.15,
                           0.25,
                           2.5,
                           -59.95,
                           346.983733783945,
                           2442479.5,
                           std::numeric_limits<double>::min(),
                           std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::max(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> day(2000000, 2600000), minutes(-60, 60);
    for (int k = 0; k < 5000; ++k) {
        xs.push_back(day(random));
        xs.push_back(minutes(random));
        xs.push_back(std::round(minutes(random) * 10) / 10);
        xs.push_back(std::bit_cast<double>(random()));
    }
    return xs;
}

template <class Convert> std::string text_of(Convert convert) {
    char buffer[400];
    const auto [end, status] = convert(buffer, buffer + sizeof buffer);
    return status == std::errc{} ? std::string(buffer, end) : "error";
}

TEST(StdCompat, WritesEveryDoubleAsTheStandardLibrary) {
    using std::chars_format;
    struct Form {
        const char* name;
        chars_format format;
        int precision; ///< -1: the shortest round trip
        bool plain;    ///< to_chars without a format
    };
    const Form forms[] = {{"general 15", chars_format::general, 15, false},
                          {"fixed 1", chars_format::fixed, 1, false},
                          {"fixed shortest", chars_format::fixed, -1, false},
                          {"general shortest", chars_format::general, -1, false},
                          {"scientific shortest", chars_format::scientific, -1, false},
                          {"shortest", chars_format::general, -1, true}};
    for (const Form& form : forms) {
        for (const double x : sample_doubles()) {
            const auto convert = [&](auto to_chars) {
                return [&, to_chars](char* first, char* last) {
                    if (form.plain) return to_chars(first, last, x);
                    if (form.precision < 0) return to_chars(first, last, x, form.format);
                    return to_chars(first, last, x, form.format, form.precision);
                };
            };
            const auto native = text_of(convert([](auto... a) { return std::to_chars(a...); }));
            const auto compat = text_of(convert([](auto... a) { return vantora::compat::to_chars(a...); }));
            ASSERT_EQ(compat, native) << form.name << " of " << std::bit_cast<std::uint64_t>(x);
        }
    }
}

TEST(StdCompat, ReadsEveryTextAsTheStandardLibrary) {
    std::vector<std::string> texts{"",
                                   ".",
                                   "-",
                                   "+1",
                                   " 1",
                                   "1",
                                   "-0",
                                   "12.5",
                                   ".5",
                                   "5.",
                                   "1e5",
                                   "1e",
                                   "1e+",
                                   "1E-3x",
                                   "0x1p3",
                                   "inf",
                                   "-Infinity",
                                   "nan",
                                   "nan(12)",
                                   "nan(",
                                   "1e400",
                                   "-1e400",
                                   "1e-400",
                                   "4e-320",
                                   "00012",
                                   "1.2.3",
                                   "346.983733783945",
                                   "0.1000000000000000055511151231257827"};
    for (const double x : sample_doubles())
        texts.push_back(text_of([x](char* f, char* l) { return std::to_chars(f, l, x); }));
    for (const std::string& text : texts) {
        double native = 7, compat = 7;
        const auto n = std::from_chars(text.data(), text.data() + text.size(), native);
        const auto c = vantora::compat::from_chars(text.data(), text.data() + text.size(), compat);
        EXPECT_EQ(c.ptr - text.data(), n.ptr - text.data()) << text;
        EXPECT_EQ(c.ec, n.ec) << text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(compat), std::bit_cast<std::uint64_t>(native)) << text;
    }
}

} // namespace
