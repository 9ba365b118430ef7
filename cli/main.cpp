// vantora-chart: the birth chart without the window, one birth from options or a batch of JSON lines.
#include "chart/compute_chart.hpp"
#include "chart/export_text.hpp"
#include "cli/book_commands.hpp"
#include "cli/chart_request.hpp"
#include "cli/place_options.hpp"
#include "core/term_file.hpp"

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

namespace {

constexpr int kExitBadInput = 2;
constexpr int kExitBatchLineFailed = 1;
constexpr int kExitBadTermFiles = 3;

int run_batch(const vantora::TermTables& tables) {
    constexpr std::size_t kBlockBytes = 1 << 16; // output is written in blocks of about this size
    std::string line;
    std::string out;
    out.reserve(2 * kBlockBytes);
    bool any_failed = false;
    for (long number = 1; std::getline(std::cin, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue; // blank lines carry no birth
        const auto parsed = vantora::cli::parse_batch_line(line);
        if (const auto* error = std::get_if<vantora::cli::RequestError>(&parsed)) {
            any_failed = true;
            vantora::cli::write_error_json(out, number, error->message);
        } else {
            const auto& request = std::get<vantora::cli::Request>(parsed);
            const auto chart = vantora::compute_chart(request.record, request.now, tables);
            if (const auto* failed = std::get_if<vantora::ChartError>(&chart)) {
                any_failed = true;
                vantora::cli::write_error_json(out, number, failed->message);
            } else {
                vantora::cli::write_chart_json(out, std::get<vantora::Chart>(chart), request);
            }
        }
        out.push_back('\n');
        if (out.size() >= kBlockBytes) {
            std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
            out.clear();
        }
    }
    std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
    std::cout.flush();
    return any_failed ? kExitBatchLineFailed : 0;
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    CLI::App app{"Vantora: the Four Pillars (四柱推命) chart of a birth, without the window.\n"
                 "Prints the export text, or with --json one JSON object; --batch reads JSON lines."};
    vantora::cli::RawBirth raw;
    std::string now;
    bool json = false, batch = false;
    app.add_option("--year", raw.year, "birth year, 1500-2099");
    app.add_option("--month", raw.month, "birth month, 1-12");
    app.add_option("--day", raw.day, "day of the month");
    app.add_option("--hour", raw.hour, "hour 0-23 of Japan Standard Time, or ? when unknown");
    app.add_option("--minute", raw.minute, "minute 0-59, or ? when unknown");
    app.add_option("--sex", raw.sex, "male or female");
    app.add_option("--offset-minutes", raw.offset_minutes,
                   "time difference from 135°E, minutes (-59..59; -0 is west)")
        ->capture_default_str();
    app.add_option("--offset-seconds", raw.offset_seconds,
                   "seconds of the time difference (at most 5 characters)")
        ->capture_default_str();
    app.add_option("--now", now, "present local time YYYY-MM-DDTHH:MM:SS (default: the clock)");
    app.add_flag("--json", json, "print one JSON object instead of the export text");
    app.add_flag("--batch", batch,
                 "read one JSON birth per line from standard input, write one chart per line");
    vantora::cli::BookCommand book;
    vantora::cli::add_book_options(app, book);
    vantora::cli::PlaceOptions place;
    vantora::cli::add_place_options(app, place);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : kExitBadInput;
    }
    if (const auto status = vantora::cli::run_book_command(app, book)) return *status;
    if (const auto status = vantora::cli::use_place_options(app, place, raw)) return *status;

    const auto loaded = vantora::init_tables();
    if (const auto* error = std::get_if<vantora::TermFileError>(&loaded)) {
        std::cerr << error->message << '\n';
        return kExitBadTermFiles;
    }
    const auto& tables = std::get<vantora::TermTables>(loaded);
    if (batch) return run_batch(tables);

    for (const auto* required : {"--year", "--month", "--day", "--hour", "--minute", "--sex"}) {
        if (app.count(required) == 0) {
            std::cerr << required << " がありません（--help で使い方を表示します）\n";
            return kExitBadInput;
        }
    }
    if (!now.empty()) raw.now = now;
    const auto checked = vantora::cli::check_request(raw);
    if (const auto* error = std::get_if<vantora::cli::RequestError>(&checked)) {
        std::cerr << error->message << '\n';
        return kExitBadInput;
    }
    const auto& request = std::get<vantora::cli::Request>(checked);
    const auto computed = vantora::compute_chart(request.record, request.now, tables);
    if (const auto* failed = std::get_if<vantora::ChartError>(&computed)) {
        std::cerr << failed->message << '\n';
        return failed->cause == vantora::ChartError::Cause::terms ? kExitBadTermFiles : kExitBadInput;
    }
    const auto& chart = std::get<vantora::Chart>(computed);
    if (json) {
        std::string out;
        vantora::cli::write_chart_json(out, chart, request);
        std::cout << out << '\n';
    } else {
        std::cout << vantora::export_text(chart.texts, request.record.sex, request.stamp) << '\n';
    }
    return 0;
}
