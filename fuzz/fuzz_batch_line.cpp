// Fuzz target: arbitrary bytes as one line of a `vantora-chart --batch` input.
//
// parse_batch_line must return a Request or a RequestError with a message. A Request is
// computed and written as JSON exactly as the command does (invalid UTF-8 in a stamp replaced,
// not thrown), and the chart must hold every invariant of chart_invariants.hpp. A line the quick
// reading of plain lines takes must read the same by the JSON parser.
#include "chart/compute_chart.hpp"
#include "core/term_file.hpp"
#include "fuzz/chart_invariants.hpp"
#include "fuzz/shipped_tables.hpp"
#include "request/batch_line.hpp"
#include "request/chart_json.hpp"
#include "request/plain_batch_line.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vantora::TermTables& tables = vantora::fuzzing::shipped_tables();
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    if (const auto plain = vantora::request::read_plain_batch_line(line)) {
        const auto read = vantora::request::read_json_batch_line(line);
        if (!std::holds_alternative<vantora::request::TypedRequest>(read) ||
            std::get<vantora::request::TypedRequest>(read) != *plain) {
            std::fprintf(stderr, "the quick reading differs from the JSON reading\n");
            std::abort();
        }
    }
    const auto parsed = vantora::request::parse_batch_line(line);
    if (const auto* error = std::get_if<vantora::request::RequestError>(&parsed)) {
        if (error->message.empty()) {
            std::fprintf(stderr, "RequestError without a message\n");
            std::abort();
        }
        return 0;
    }
    const auto& request = std::get<vantora::request::Request>(parsed);
    const auto computed = vantora::compute_chart(request.record, request.now, tables);
    if (const auto* error = std::get_if<vantora::ChartError>(&computed)) {
        // Every birth parse_batch_line accepts is one compute_chart computes.
        std::fprintf(stderr, "an accepted birth gave no chart: %s\n", error->message.c_str());
        std::abort();
    }
    const auto& chart = std::get<vantora::Chart>(computed);
    const std::string failures = vantora::invariants::chart_failures(chart, request.record);
    if (!failures.empty()) {
        std::fprintf(stderr, "chart invariants broken:\n%s", failures.c_str());
        std::abort();
    }
    const std::string json = vantora::request::chart_json(chart, request)
                                 .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    if (json.empty() || json.front() != '{') std::abort();
    return 0;
}
