// Chosen rules and era years in a batch line, and the chart's "rules" and "notices" in its JSON.
#include "request/chart_json.hpp"
#include "test_tables.hpp"

#include <gtest/gtest.h>

namespace vantora::request {
namespace {

TEST(RulesRequest, BatchLinesChooseRulesAndTheJsonNamesThem) {
    const std::string birth = R"("month":1,"day":1,"hour":23,"minute":30,"sex":"male","offset_minutes":0,)"
                              R"("offset_seconds":0,"now":"2026-12-08T10:00:00")";
    const struct {
        std::string line;
        const char* expected; // the day pillar, rules and notices, or the error
    } cases[] = {
        {R"({"year":2000,)" + birth + "}",
         R"(戊午 {"day-change":"midnight","hidden-stems":"season","luck-start":"longitude",)"
         R"("summer-time":"off","term-instant":"solar"} null)"},
        {R"({"year":2000,)" + birth + R"(,"rules":{"day-change":"23","term-instant":"clock"}})",
         R"(己未 {"day-change":"23","hidden-stems":"season","luck-start":"longitude",)"
         R"("summer-time":"off","term-instant":"clock"} null)"},
        {R"({"year":"昭和24","month":7,"day":1,"hour":12,"minute":30,"sex":"male","offset_minutes":0,)"
         R"("offset_seconds":0,"now":"2026-12-08T10:00:00"})",
         R"(壬辰 {"day-change":"midnight","hidden-stems":"season","luck-start":"longitude",)"
         R"("summer-time":"off","term-instant":"solar"} ["summer-time"])"},
        {R"({"year":2000,)" + birth + R"(,"rules":{"day-change":"24"}})",
         "rules: 規則「day-change」の値「24」は使えません（midnight または 23）"},
        {R"({"year":2000,)" + birth + R"(,"rules":"day-change=23"})",
         "rules: オブジェクトを指定してください"},
        {R"({"year":"昭和65",)" + birth + "}",
         "year: 年「昭和65」は昭和の範囲外です（昭和は元年（1926年）から64年（1989年）まで）"},
    };
    for (const auto& c : cases) {
        JsonBuffer out;
        answer_batch_line(out, c.line, 1, testing::real_tables());
        const auto json = nlohmann::json::parse(out.view());
        const std::string got = json.contains("error")
                                    ? json["error"].get<std::string>()
                                    : json["dKan"].get<std::string>() + json["dShi"].get<std::string>() +
                                          " " + json["rules"].dump() + " " +
                                          (json.contains("notices") ? json["notices"].dump() : "null");
        EXPECT_EQ(got, c.expected) << c.line;
    }
}

} // namespace
} // namespace vantora::request
