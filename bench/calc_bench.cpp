// Speed of the solar theory as a chart uses it, the number conversion, the chart computation, its
// detail readings, the reading of a batch line and one whole batch line of the chart command.
// Run by hand:  cmake -S . -B build-bench -G Ninja -DVANTORA_BENCH=ON -DVANTORA_GUI=OFF -DVANTORA_TESTS=OFF
//               cmake --build build-bench && build-bench/bin/vantora_bench --benchmark_repetitions=5
#include "chart/compute_chart.hpp"
#include "chart/details.hpp"
#include "chart/number_text.hpp"
#include "core/solar.hpp"
#include "core/term_file.hpp"
#include "request/batch_line.hpp"
#include "request/chart_json.hpp"

#include <benchmark/benchmark.h>

#include <array>
#include <fstream>
#include <random>
#include <vector>

namespace {

const vantora::TermTables& tables() {
    static const vantora::TermTables loaded =
        std::get<vantora::TermTables>(vantora::load_term_tables(VANTORA_SOURCE_DIR "/data"));
    return loaded;
}

/// What a chart asks of the solar theory: the distance, then the longitude at a slightly earlier
/// instant, at random dates of 1500-2099; argument 0 on the scalar path, 1 on the vector path.
void BM_chart_sun_positions(benchmark::State& state) {
    const auto maths = state.range(0) ? vantora::SeriesMaths::vector : vantora::SeriesMaths::scalar;
    std::mt19937_64 random(1);
    std::vector<std::array<double, 3>> dates(4096);
    for (auto& d : dates) {
        d = {static_cast<double>(1500 + random() % 600), static_cast<double>(1 + random() % 12),
             1 + std::uniform_real_distribution<double>(0, 28)(random)};
    }
    std::size_t k = 0;
    for (auto _ : state) {
        const auto& [year, month, day] = dates[k++ % dates.size()];
        const auto first =
            vantora::calc_sun_position(year, month, day, tables(), vantora::SunResults::distance, maths);
        benchmark::DoNotOptimize(vantora::calc_sun_position(year, month, day - 0.0057 * first.sun_distance,
                                                            tables(), vantora::SunResults::longitude, maths));
    }
}
BENCHMARK(BM_chart_sun_positions)->Arg(0)->Arg(1);

/// The general number conversion: argument 0 whole numbers (most shown numbers), 1 fractions.
void BM_general_text(benchmark::State& state) {
    const double step = state.range(0) ? 0.731 : 1;
    double x = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vantora::general_text(x));
        x = x > 3000 ? 1 : x + step;
    }
}
BENCHMARK(BM_general_text)->Arg(0)->Arg(1);

void BM_compute_chart(benchmark::State& state) {
    vantora::BirthRecord record;
    record.birth_year = 1975;
    record.birth_month = 3;
    record.birth_day = 8;
    record.birth_hour = 14;
    record.birth_minute = 5;
    record.offset.minutes = 18;
    record.offset.seconds = 39;
    const vantora::LocalDateTime now{2026, 12, 8, 10, 0, 0};
    for (auto _ : state) {
        benchmark::DoNotOptimize(vantora::compute_chart(record, now, tables()));
        record.birth_day = record.birth_day == 28 ? 1 : record.birth_day + 1;
    }
}
BENCHMARK(BM_compute_chart);

/// The births of the golden charts as batch lines (compact JSON).
std::vector<std::string> golden_batch_lines() {
    std::vector<std::string> lines;
    std::ifstream in(VANTORA_SOURCE_DIR "/tests/golden/charts.jsonl");
    for (std::string line; std::getline(in, line);)
        lines.push_back(nlohmann::json::parse(line)["input"].dump());
    return lines;
}

/// Reading one batch line as the texts of a birth (the golden births): argument 0 as the batch
/// reads it, 1 asking for the whole parsed object as well (always the JSON parser).
void BM_read_batch_line(benchmark::State& state) {
    const std::vector<std::string> lines = golden_batch_lines();
    nlohmann::json whole;
    std::size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            vantora::request::read_batch_line(lines[k], state.range(0) ? &whole : nullptr));
        k = (k + 1) % lines.size();
    }
}
BENCHMARK(BM_read_batch_line)->Arg(0)->Arg(1);

/// One line of `vantora-chart --batch`: parse, check, compute, write the JSON object.
void BM_batch_line(benchmark::State& state) {
    const std::vector<std::string> lines = golden_batch_lines();
    std::size_t k = 0;
    vantora::request::JsonBuffer out;
    for (auto _ : state) {
        const auto parsed = vantora::request::parse_batch_line(lines[k]);
        const auto& request = std::get<vantora::request::Request>(parsed);
        const auto chart =
            std::get<vantora::Chart>(vantora::compute_chart(request.record, request.now, tables()));
        out.clear();
        vantora::request::write_chart_json(out, chart, request);
        benchmark::DoNotOptimize(out.view().data());
        k = (k + 1) % lines.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_batch_line);

} // namespace

namespace {

/// The JSON half of a batch line: building the object and writing it.
void BM_chart_json(benchmark::State& state) {
    const auto parsed = vantora::request::parse_batch_line(
        R"({"year": 1975, "month": 3, "day": 8, "hour": 14, "minute": 5, "sex": "male", "offset_minutes": "18",)"
        R"( "offset_seconds": "39", "now": "2026-12-08T10:00:00"})");
    const auto& request = std::get<vantora::request::Request>(parsed);
    const auto chart =
        std::get<vantora::Chart>(vantora::compute_chart(request.record, request.now, tables()));
    vantora::request::JsonBuffer out;
    for (auto _ : state) {
        out.clear();
        vantora::request::write_chart_json(out, chart, request);
        benchmark::DoNotOptimize(out.view().data());
    }
}
BENCHMARK(BM_chart_json);

/// The detail readings of one chart (ten-god names, stages, void pair, annual pillars), which are
/// computed only when asked for: what a window or a JSON line adds to compute_chart.
void BM_chart_details(benchmark::State& state) {
    const auto parsed = vantora::request::parse_batch_line(
        R"({"year": 1975, "month": 3, "day": 8, "hour": 14, "minute": 5, "sex": "male", "offset_minutes": "18",)"
        R"( "offset_seconds": "39", "now": "2026-12-08T10:00:00"})");
    const auto& request = std::get<vantora::request::Request>(parsed);
    auto chart = std::get<vantora::Chart>(vantora::compute_chart(request.record, request.now, tables()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(vantora::chart_details(chart, request.now));
        chart.day_stem = chart.day_stem % 10 + 1; // another day master every call
        chart.day_branch = chart.day_branch % 12 + 1;
    }
}
BENCHMARK(BM_chart_details);

} // namespace
