// The inputs the fuzzers found worth keeping (tests/fuzz_regressions/), replayed through the
// normal build: a term file is refused with a message naming the file, or loads as tables whose
// Sun and whole charts hold every invariant; a batch line
// gives a request whose chart holds every invariant, or an error with a message. Also checks
// that the invariant checker the fuzzers and the sweep rely on does catch broken charts.
#include "chart/compute_chart.hpp"
#include "core/calendar.hpp"
#include "core/solar.hpp"
#include "core/term_file.hpp"
#include "fuzz/chart_invariants.hpp"
#include "request/batch_line.hpp"
#include "request/chart_json.hpp"
#include "test_tables.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

namespace fs = std::filesystem;

const fs::path kRegressions = fs::path(VANTORA_SOURCE_DIR) / "tests" / "fuzz_regressions";

std::vector<fs::path> files_in(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string bytes_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(FuzzRegressions, EveryTermFileLoadsOrIsRefusedWithAMessageNamingTheFile) {
    const auto shipped = vantora::testing::real_tables();
    const auto files = files_in(kRegressions / "term_file");
    ASSERT_FALSE(files.empty());
    int loaded = 0, refused = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = bytes_of(file);
        std::istringstream planet_in(bytes);
        const auto planet = vantora::read_planet_terms(planet_in, "planet.txt");
        if (const auto* error = std::get_if<vantora::TermFileError>(&planet)) {
            ++refused;
            EXPECT_TRUE(error->message.starts_with("planet.txt: ")) << error->message;
        } else {
            ++loaded;
            auto tables = shipped;
            tables.planet_terms = std::get<0>(planet);
            EXPECT_EQ(vantora::invariants::table_failures(tables), "");
        }
        std::istringstream latitude_in(bytes);
        const auto latitude = vantora::read_latitude_terms(latitude_in, "latitude.txt");
        if (const auto* error = std::get_if<vantora::TermFileError>(&latitude)) {
            ++refused;
            EXPECT_TRUE(error->message.starts_with("latitude.txt: ")) << error->message;
        } else {
            ++loaded;
            auto tables = shipped;
            tables.latitude_terms = std::get<0>(latitude);
            EXPECT_EQ(vantora::invariants::table_failures(tables), "");
        }
    }
    std::cout << files.size() << " term files: " << loaded << " loads, " << refused << " refusals\n";
}

TEST(FuzzRegressions, EveryBatchLineGivesAValidChartOrAnError) {
    const auto tables = vantora::testing::real_tables();
    const auto files = files_in(kRegressions / "batch_line");
    ASSERT_FALSE(files.empty());
    int charts = 0, errors = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const auto parsed = vantora::request::parse_batch_line(bytes_of(file));
        if (const auto* error = std::get_if<vantora::request::RequestError>(&parsed)) {
            ++errors;
            EXPECT_FALSE(error->message.empty());
            continue;
        }
        ++charts;
        const auto& request = std::get<vantora::request::Request>(parsed);
        const auto chart =
            std::get<vantora::Chart>(vantora::compute_chart(request.record, request.now, tables));
        EXPECT_EQ(vantora::invariants::chart_failures(chart, request.record), "");
        const std::string json = vantora::request::chart_json(chart, request)
                                     .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        EXPECT_TRUE(json.starts_with("{\"txtBirthday\""));
    }
    std::cout << files.size() << " batch lines: " << charts << " charts, " << errors << " errors\n";
}

// The checker itself: a real chart passes, and each kind of corruption is reported.
struct Corruption {
    const char* name;
    std::function<void(vantora::Chart&)> apply;
};

/// Test names and failure messages show the corruption by its name.
void PrintTo(const Corruption& corruption, std::ostream* out) {
    *out << corruption.name;
}

class ChartInvariants : public ::testing::TestWithParam<Corruption> {};

vantora::BirthRecord sample_record() {
    vantora::BirthRecord record;
    record.birth_year = 1975;
    record.birth_month = 3;
    record.birth_day = 8;
    record.birth_hour = 14;
    record.birth_minute = 5;
    record.sex = vantora::Sex::male;
    record.offset.minutes = 4;
    record.offset.seconds = 30;
    return record;
}

TEST(ChartInvariants, HoldForARealChart) {
    const auto record = sample_record();
    const auto chart = std::get<vantora::Chart>(
        vantora::compute_chart(record, {2026, 12, 8, 10, 0, 0}, vantora::testing::real_tables()));
    EXPECT_EQ(vantora::invariants::chart_failures(chart, record), "");
}

TEST_P(ChartInvariants, ReportACorruptedChart) {
    const auto record = sample_record();
    auto chart = std::get<vantora::Chart>(
        vantora::compute_chart(record, {2026, 12, 8, 10, 0, 0}, vantora::testing::real_tables()));
    GetParam().apply(chart);
    EXPECT_NE(vantora::invariants::chart_failures(chart, record), "");
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, ChartInvariants,
    ::testing::Values(
        Corruption{"stem_0", [](vantora::Chart& c) { c.year_stem = 0; }},
        Corruption{"stem_11", [](vantora::Chart& c) { c.day_stem = 11; }},
        Corruption{"branch_13", [](vantora::Chart& c) { c.hour_branch = 13; }},
        Corruption{"hour_hidden_0", [](vantora::Chart& c) { c.hour_hidden = 0; }},
        Corruption{"nan_gosa", [](vantora::Chart& c) { c.gosa = std::nan(""); }},
        Corruption{"infinite_zg2", [](vantora::Chart& c) { c.zg2 = INFINITY; }},
        Corruption{"longitude_360", [](vantora::Chart& c) { c.birth_nl = 360; }},
        Corruption{"month_no_off_by_one", [](vantora::Chart& c) { c.month_no = c.month_no % 12 + 1; }},
        Corruption{"minute_60", [](vantora::Chart& c) { c.true_minute = 60; }},
        Corruption{"hour_24", [](vantora::Chart& c) { c.true_hour = 24; }},
        Corruption{"march_32", [](vantora::Chart& c) { c.true_day = 32; }},
        Corruption{"month_13", [](vantora::Chart& c) { c.true_month = 13; }},
        Corruption{"text_60_minutes", [](vantora::Chart& c) { c.texts.txtShin = "1975年3月8日13時60.0分"; }},
        Corruption{"text_60_seconds", [](vantora::Chart& c) { c.texts.txtKinjisa = "-10分60.0秒"; }},
        Corruption{"luck_years_11", [](vantora::Chart& c) { c.luck_years = 11; }},
        Corruption{"luck_negative", [](vantora::Chart& c) { c.luck_years = -0.1; }},
        Corruption{"luck_direction", [](vantora::Chart& c) { c.luck_forward = !c.luck_forward; }},
        Corruption{"luck_pillar_skips", [](vantora::Chart& c) { c.luck_stem[5] = c.luck_stem[5] % 10 + 1; }},
        Corruption{"weekday_8", [](vantora::Chart& c) { c.weekday = 8; }},
        Corruption{"pillar_year_two_back", [](vantora::Chart& c) { c.pillar_year = c.true_year - 2; }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
