// Charts computed independently of this code base, compared with what the chart command writes.
#include "chart/compute_chart.hpp"
#include "core/term_file.hpp"
#include "request/batch_line.hpp"
#include "request/chart_json.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace {

using nlohmann::json;

/// The longitude text may differ in its last one or two of 15 digits with the order of operations.
constexpr double kLongitudeToleranceDegrees = 1e-9;
constexpr double kRelativeTolerance = 1e-12;

TEST(GoldenCharts, EveryChartMatchesTheIndependentComputation) {
    const auto loaded = vantora::load_term_tables(VANTORA_SOURCE_DIR "/data");
    ASSERT_TRUE(std::holds_alternative<vantora::TermTables>(loaded));
    const auto& tables = std::get<vantora::TermTables>(loaded);

    std::ifstream in(VANTORA_SOURCE_DIR "/tests/golden/charts.jsonl");
    ASSERT_TRUE(in) << "tests/golden/charts.jsonl is missing";
    std::string line;
    int rows = 0;
    double worst_longitude = 0;
    int worst_row = 0;
    while (std::getline(in, line)) {
        ++rows;
        const json row = json::parse(line);
        const auto parsed = vantora::request::parse_batch_line(row["input"].dump());
        ASSERT_TRUE(std::holds_alternative<vantora::request::Request>(parsed)) << "row " << rows;
        const auto& request = std::get<vantora::request::Request>(parsed);
        const json got = json::parse(
            vantora::request::chart_json(
                std::get<vantora::Chart>(vantora::compute_chart(request.record, request.now, tables)),
                request)
                .dump());
        const json& expected = row["expected"];
        for (const auto& [key, value] : expected.items()) {
            SCOPED_TRACE("row " + std::to_string(rows) + " " + row["input"].dump() + " key " + key);
            if (key == "txtKoukei") {
                const double deviation =
                    std::abs(std::stod(got[key].get<std::string>()) - std::stod(value.get<std::string>()));
                EXPECT_LE(deviation, kLongitudeToleranceDegrees);
            } else if (key == "values") {
                for (const auto& [name, number] : value.items()) {
                    if (number.is_number_float()) {
                        const double e = number.get<double>(), g = got[key][name].get<double>();
                        const double tolerance = name == "birth_nl" ? kLongitudeToleranceDegrees
                                                                    : std::abs(e) * kRelativeTolerance;
                        EXPECT_NEAR(g, e, tolerance) << name;
                        if (name == "birth_nl" && std::abs(g - e) > worst_longitude) {
                            worst_longitude = std::abs(g - e);
                            worst_row = rows;
                        }
                    } else {
                        EXPECT_EQ(got[key][name], number) << name;
                    }
                }
            } else {
                EXPECT_EQ(got[key], value);
            }
        }
    }
    EXPECT_GT(rows, 0);
    std::cout << rows << " golden charts; largest longitude deviation " << worst_longitude << "° (row "
              << worst_row << ")\n";
}

} // namespace
