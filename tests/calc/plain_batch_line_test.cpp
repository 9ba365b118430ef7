// The quick reading of plain batch lines gives exactly what the JSON reading gives: the same texts
// of a birth, and for every line it does not take the JSON reading's own answer.
#include "request/batch_line.hpp"
#include "request/chart_json.hpp"
#include "request/plain_batch_line.hpp"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace {

using vantora::request::RequestError;
using vantora::request::TypedRequest;

/// Every text of a read line, or its error, as one text to compare.
std::string described(const std::variant<TypedRequest, RequestError>& read) {
    if (const auto* error = std::get_if<RequestError>(&read)) return "error " + error->message;
    const TypedRequest& raw = std::get<TypedRequest>(read);
    std::string out;
    for (const auto& [key, member] : vantora::request::kBirthTextFields)
        out += std::string(key) + "=" + raw.birth.*member + "\n";
    for (const auto& [key, text] :
         {std::pair{"now", raw.now}, std::pair{"stamp", raw.stamp}, std::pair{"place", raw.birth.place}})
        out += std::string(key) + (text ? "=" + *text : " none") + "\n";
    return out;
}

/// Reads `line` both ways; true when the quick reading took it.
bool read_alike(const std::string& line) {
    EXPECT_EQ(described(vantora::request::read_batch_line(line)),
              described(vantora::request::read_json_batch_line(line)))
        << line;
    return vantora::request::read_plain_batch_line(line).has_value();
}

const std::string kFields = R"("year":1975,"month":3,"day":8,"hour":14,"minute":5,"sex":"male",)"
                            R"("offset_minutes":"18","offset_seconds":"39","now":"2026-12-08T10:00:00")";
const std::string kBirth = "{" + kFields + "}";
const std::string kPlaceBirth =
    R"({"year":"1975","month":"3","day":"8","hour":"?","minute":"?","sex":"female","place":"Kyoto","now":"2026-12-08 10:00"})";

TEST(PlainBatchLine, ReadsAsTheJsonReadingDoes) {
    const struct {
        std::string line;
        bool plain; ///< taken by the quick reading
    } lines[] = {
        {kBirth, true},
        {" \t{ \"year\" : 1975 ,\r\n\"month\":\t3, \"day\": 8, \"hour\": \"?\", \"minute\": \"?\", \"sex\": "
         "\"female\", "
         "\"offset_minutes\": -0, \"offset_seconds\": 0, \"now\": \"2026-12-08T10:00:00\" } \r",
         true},
        {R"({"year":"1975","month":"03","day":"8x","hour":-7,"minute":60,"sex":"?","offset_minutes":"-0",)"
         R"("offset_seconds":"abc de","now":"never","stamp":"1975/3/8"})",
         true},
        {"{" + kFields + R"(,"memo":"a memo","memo":7,"":-0})", true},
        {"{" + kFields + R"(,"year":999999999999999999,"month":-999999999999999999})", false},
        {R"({"year":999999999999999999,"month":-999999999999999999,)" + kFields.substr(22) + "}", true},
        {R"({"year":1975,"year":-0,)" + kFields.substr(12) + "}", false},
        {"{" + kFields + R"(,"offset_minutes":0)" + "}", false},
        {R"({"year":9999999999999999999,)" + kFields.substr(12) + "}", false},
        {R"({"year":-9223372036854775809,)" + kFields.substr(12) + "}", false},
        {R"({"year":01975,)" + kFields.substr(12) + "}", false},
        {R"({"year":1975.0,)" + kFields.substr(12) + "}", false},
        {R"({"year":1975e0,)" + kFields.substr(12) + "}", false},
        {R"({"year":true,)" + kFields.substr(12) + "}", false},
        {R"({"year":-,)" + kFields.substr(12) + "}", false},
        {"{" + kFields.substr(12) + "}", false},
        {"{" + kFields + R"(,"memo":null})", false},
        {"{" + kFields + R"(,"memo":[1]})", false},
        {"{" + kFields + R"(,"sex":"m\u0061le"})", false},
        {"{" + kFields + R"(,"stamp":"1975年"})", false},
        {"{" + kFields + ",\"stamp\":\"\x7f\"}", false},
        {"{" + kFields + R"(,"stamp":1})", false},
        {"{" + kFields.substr(0, kFields.find(",\"now\"")) + R"(,"now":20261208})", false},
        {"{" + kFields.substr(0, kFields.find(",\"now\"")) + "}", false},
        {kPlaceBirth, true},
        {R"({"place":"京都府綾部市本町一丁目",)" + kPlaceBirth.substr(1), false},
        {kPlaceBirth.substr(0, kPlaceBirth.size() - 1) + R"(,"offset_seconds":"1"})", false},
        {R"({"place":7,)" + kPlaceBirth.substr(1), false},
        {kBirth + "x", false},
        {kBirth + ",", false},
        {"\xEF\xBB\xBF" + kBirth, false},
        {"{" + kFields + ",}", false},
        {"{" + kFields, false},
        {"{" + kFields.substr(0, 11) + kFields.substr(12) + "}", false},
        {R"({"year"1975,)" + kFields.substr(12) + "}", false},
        {"{" + kFields + R"(,"memo":")" + std::string(vantora::request::kMaxBatchLineBytes, 'x') + "\"}",
         false},
        {"{}", false},
        {"", false},
        {" \r", false},
        {"[]", false},
    };
    for (const auto& [line, plain] : lines) EXPECT_EQ(read_alike(line), plain) << line.substr(0, 200);
}

TEST(PlainBatchLine, EveryOneByteChangeReadsAlike) {
    // Each byte deleted, replaced and preceded by bytes that can make or break the shape.
    const std::string bytes = "\"\\,:{}[]-0 9.eE\t\rx\x80";
    for (const std::string& birth : {kBirth, kPlaceBirth}) {
        int plain = 0;
        for (std::size_t at = 0; at <= birth.size(); ++at) {
            plain += read_alike(std::string(birth).erase(at, 1));
            for (const char c : bytes) {
                plain += read_alike(std::string(birth).insert(at, 1, c));
                if (at < birth.size()) plain += read_alike(std::string(birth).replace(at, 1, 1, c));
            }
        }
        EXPECT_GT(plain, 100) << "the quick reading took too few changed lines of " << birth;
    }
}

} // namespace
