// The chart command's JSON writer against nlohmann::json's dump(), which wrote the same lines
// before: every byte must agree, for doubles of every magnitude and for every kind of string.
#include "request/json_writer.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

using nlohmann::json;
using vantora::request::JsonWriter;

std::string dumped(const json& value) {
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

template <class T> std::string written(const T& value) {
    vantora::request::JsonBuffer out;
    JsonWriter(out).value(value);
    return std::string(out.view());
}

TEST(JsonWriter, DoublesAreWrittenAsDumpWritesThem) {
    std::vector<double> values{0.0,
                               -0.0,
                               1.0,
                               0.1,
                               1e-5,
                               1e21,
                               1e22,
                               123456789012345680.0,
                               2461382.9166666665,
                               std::numeric_limits<double>::min(),
                               std::numeric_limits<double>::denorm_min(),
                               std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN()};
    std::mt19937_64 random(12);
    for (int k = 0; k < 200000; ++k) {
        std::uint64_t bits = random();
        double x;
        std::memcpy(&x, &bits, sizeof x); // any bit pattern: every exponent, subnormals, NaN
        values.push_back(x);
        values.push_back(
            std::ldexp(static_cast<double>(random() % 100000000), static_cast<int>(random() % 80) - 40));
        values.push_back(std::uniform_real_distribution<double>(0, 360)(random)); // like the chart's values
    }
    for (const double x : values) ASSERT_EQ(written(x), dumped(x)) << x;
}

TEST(JsonWriter, IntegersAndLiteralsAreWrittenAsDumpWritesThem) {
    for (const long long n : {0LL, 1LL, -1LL, 2026LL, std::numeric_limits<long long>::min(),
                              std::numeric_limits<long long>::max()})
        EXPECT_EQ(written(n), dumped(n));
    EXPECT_EQ(written(std::numeric_limits<unsigned long long>::max()),
              dumped(std::numeric_limits<unsigned long long>::max()));
    EXPECT_EQ(written(std::int16_t{-7}), dumped(std::int16_t{-7}));
    EXPECT_EQ(written(true), dumped(true));
    EXPECT_EQ(written(nullptr), dumped(nullptr));
}

TEST(JsonWriter, StringsAreEscapedAndRepairedAsDumpDoesIt) {
    std::vector<std::string> texts{"", "plain", "甲子 大運", "\"quoted\" \\ slash /", "\r\n\t\b\f", "\x7f"};
    for (int c = 0; c < 0x20; ++c) texts.push_back("a" + std::string(1, static_cast<char>(c)) + "b");
    // Bad UTF-8: a lone continuation, a cut sequence, an overlong form, a surrogate, above U+10FFFF,
    // bytes that never occur, a cut sequence at the very end.
    for (const char* bad :
         {"\x80", "a\xe6\x97", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xff\xfe", "ok\xe6"})
        texts.emplace_back(bad);
    std::mt19937 random(5);
    for (int k = 0; k < 20000; ++k) {
        std::string text(random() % 12, ' ');
        for (char& c : text) c = static_cast<char>(random() % 4 == 0 ? random() % 0x20 : random() % 256);
        texts.push_back(text);
    }
    // Longer texts of runs the writer takes eight bytes at a time, broken by every other kind of
    // byte at every offset.
    const std::string pieces[] = {"abcdefgh", "x", "甲", "\"", "\\", "\n", "\x1f", "\xe6\x97", "\xff"};
    for (int k = 0; k < 20000; ++k) {
        std::string text;
        for (int n = static_cast<int>(random() % 8); n >= 0; --n)
            text += pieces[random() % 3 ? random() % 3 : random() % 9];
        texts.push_back(text);
    }
    for (const auto& text : texts) ASSERT_EQ(written(text), dumped(text)) << dumped(text);
}

TEST(JsonWriter, NestedContainersAreSeparatedAsDumpSeparatesThem) {
    vantora::request::JsonBuffer out;
    JsonWriter w(out);
    w.begin_object();
    w.member("a", 1);
    w.key("b");
    w.begin_array();
    w.begin_object();
    w.end_object();
    w.value("x");
    w.begin_array();
    w.end_array();
    w.end_array();
    w.member("c", 0.5);
    w.end_object();
    const nlohmann::ordered_json expected = {
        {"a", 1}, {"b", {json::object(), "x", json::array()}}, {"c", 0.5}};
    EXPECT_EQ(out.view(), expected.dump());
}

} // namespace
