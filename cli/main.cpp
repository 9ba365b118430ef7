// vantora-chart: the birth chart without the window, one birth from options or a batch of JSON lines.
#include "chart/compute_chart.hpp"
#include "chart/export_text.hpp"
#include "cli/batch.hpp"
#include "cli/book_commands.hpp"
#include "cli/command_line.hpp"
#include "cli/place_options.hpp"
#include "core/message_text.hpp"
#include "core/term_file.hpp"
#include "request/chart_json.hpp"
#include "request/readings_json.hpp"

#include <CLI/CLI.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace {

using namespace vantora::cli::exit_status;

/// The options that describe one birth, which --batch reads from its lines instead.
constexpr const char* kSingleChartOptions[] = {
    "--year",           "--month",          "--day",   "--hour",   "--minute", "--sex",  "--now", "--json",
    "--offset-minutes", "--offset-seconds", "--place", "--months", "--days",   "--rules"};

/// Writes `text` to standard output, or reports why it could not and returns false.
bool print(std::string_view text) {
    std::cout.flush(); // anything written through the stream before comes first
    if (const int error = vantora::cli::write_all(STDOUT_FILENO, text)) {
        std::cerr << vantora::cli::write_error_message(error) << '\n';
        return false;
    }
    return true;
}

/// --jobs: 1..1024 threads; absent, the number of cores.
std::optional<unsigned> jobs_of(const CLI::App& app, const std::string& text) {
    if (app.count("--jobs") == 0) return std::max(1u, std::thread::hardware_concurrency());
    unsigned jobs = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (status != std::errc{} || end != text.data() + text.size() || jobs < 1 || jobs > 1024)
        return std::nullopt;
    return jobs;
}

/// What --months or --days asks for: the months of a year, or the days of one of its months.
struct ReadingsAhead {
    int year = 0;
    std::optional<int> month; ///< 1..12 for --days
};

/// --months YEAR or --days YEAR-MM, the year within the years a chart is computed for; nullopt
/// with the message written when the text is not one.
std::optional<std::optional<ReadingsAhead>> readings_ahead_of(const CLI::App& app, const std::string& months,
                                                              const std::string& days) {
    const bool want_months = app.count("--months") > 0, want_days = app.count("--days") > 0;
    if (!want_months && !want_days) return std::optional<ReadingsAhead>();
    if (want_months && want_days) {
        std::cerr << "--months と --days は同時に指定できません\n";
        return std::nullopt;
    }
    const std::string& text = want_months ? months : days;
    const char* end = text.data() + text.size();
    ReadingsAhead ahead;
    auto [at, status] = std::from_chars(text.data(), end, ahead.year);
    bool good = status == std::errc{} && ahead.year >= vantora::kFirstBirthYear &&
                ahead.year <= vantora::kLastBirthYear;
    if (want_days && good) {
        int month = 0;
        const auto parsed = at < end && *at == '-' ? std::from_chars(at + 1, end, month)
                                                   : std::from_chars_result{at, std::errc::invalid_argument};
        at = parsed.ptr;
        good = parsed.ec == std::errc{} && month >= 1 && month <= 12;
        ahead.month = month;
    }
    if (!good || at != end) {
        std::cerr << (want_months ? "--months: 年（" : "--days: 年-月（") << vantora::kFirstBirthYear << "〜"
                  << vantora::kLastBirthYear << (want_months ? "）" : "、例 2008-02）")
                  << "を指定してください（" << vantora::printable_text(text) << "）\n";
        return std::nullopt;
    }
    return std::optional(ahead);
}

int run(int argc, char** argv) {
    CLI::App app{
        "Vantora の命式（四柱推命）を窓なしで計算します。書き出しの文章を、--json では JSON を一つ、\n"
        "--batch では JSON の行ごとに一つずつ書きます。"};
    vantora::cli::describe_in_japanese(app);
    vantora::request::TypedRequest typed;
    vantora::request::TypedBirth& raw = typed.birth;
    std::string now, jobs_text, rules_text;
    bool json = false, batch = false;
    app.add_option("--year", raw.year, "生まれた年（1500〜2099）")->type_name("N");
    app.add_option("--month", raw.month, "生まれた月（1〜12）")->type_name("N");
    app.add_option("--day", raw.day, "生まれた日（1〜31。その月の日数まで）")->type_name("N");
    app.add_option("--hour", raw.hour, "生まれた時（日本標準時の0〜23）、分からなければ ?")->type_name("N|?");
    app.add_option("--minute", raw.minute, "生まれた分（0〜59）、分からなければ ?")->type_name("N|?");
    app.add_option("--sex", raw.sex, "性別: male（男）か female（女）")->type_name("male|female");
    app.add_option("--offset-minutes", raw.offset_minutes,
                   "東経135度からの時差の分（-99〜99。-0 は西。省略すると 0）")
        ->type_name("N");
    app.add_option("--offset-seconds", raw.offset_seconds, "時差の秒（5文字まで。省略すると 0）")
        ->type_name("N");
    app.add_option("--now", now, "現在の日時 YYYY-MM-DDTHH:MM:SS（省略すると時計の日時）")
        ->type_name("DATETIME");
    app.add_option(
           "--rules", rules_text,
           "流派で異なる規則をキー=値のコンマ区切りで: day-change=midnight|23, term-instant=solar|clock, "
           "luck-start=longitude|days, hidden-stems=season|days, summer-time=off|on（左が既定。--batch "
           "では各行の \"rules\" に書く）")
        ->type_name("KEY=VALUE,…");
    app.add_flag("--json", json, "書き出しの文章の代わりに JSON を一つ書く");
    app.add_flag("--batch", batch, "標準入力から一行に一つの JSON の生年月日を読み、一行に一つの命式を書く");
    std::string months_text, days_text;
    app.add_option(
           "--months", months_text,
           "月運: その年の立春から次の立春までの12か月を、JSON の行で一か月に一つ書く（命式の代わりに）")
        ->type_name("YEAR");
    app.add_option("--days", days_text, "日運: その月の日を、JSON の行で一日に一つ書く（命式の代わりに）")
        ->type_name("YEAR-MM");
    app.add_option("--jobs", jobs_text, "スレッドの数: --batch の計算に使う（1〜1024。省略するとコアの数）")
        ->type_name("N");
    vantora::cli::BookCommand book;
    vantora::cli::add_book_options(app, book);
    vantora::cli::PlaceOptions place;
    vantora::cli::add_place_options(app, place);
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) { // --help, --version
        std::ostringstream text;
        app.exit(e, text, text);
        return print(text.str()) ? ok : io_failed;
    } catch (const CLI::ParseError& e) {
        std::cerr << vantora::cli::japanese_parse_error(e) << '\n';
        return bad_options;
    }
    // Every option is checked before the term files are read.
    if (const auto status = vantora::cli::run_book_command(app, book)) return *status;
    if (const auto status = vantora::cli::use_place_options(app, place, raw)) return *status;
    if (const auto error = vantora::read_rule_list(typed.rules, rules_text)) {
        std::cerr << "--rules: " << *error << '\n';
        return bad_options;
    }
    const auto jobs = jobs_of(app, jobs_text);
    if (!jobs) {
        std::cerr << "--jobs: 1〜1024の整数を指定してください（" << vantora::printable_text(jobs_text)
                  << "）\n";
        return bad_options;
    }
    const auto ahead = readings_ahead_of(app, months_text, days_text);
    if (!ahead) return bad_options;
    if (batch) {
        for (const char* option : kSingleChartOptions) {
            if (app.count(option) > 0) {
                std::cerr << "--batch と " << option << " は同時に指定できません（一人分は各行に書きます）\n";
                return bad_options;
            }
        }
    } else {
        if (app.count("--jobs") > 0) {
            std::cerr << "--jobs は --batch と一緒に指定してください\n";
            return bad_options;
        }
        for (const char* required : {"--year", "--month", "--day", "--hour", "--minute", "--sex"}) {
            if (app.count(required) == 0) {
                std::cerr << required << " がありません（--help で使い方を表示します）\n";
                return bad_options;
            }
        }
    }
    std::optional<vantora::request::Request> request;
    if (!batch) {
        if (!now.empty()) typed.now = now;
        auto checked = vantora::request::check_request(typed);
        if (const auto* error = std::get_if<vantora::request::RequestError>(&checked)) {
            std::cerr << error->message << '\n';
            return bad_options;
        }
        request = std::get<vantora::request::Request>(std::move(checked));
    }

    const auto loaded = vantora::init_tables();
    if (const auto* error = std::get_if<vantora::TermFileError>(&loaded)) {
        std::cerr << error->message << '\n';
        return bad_term_files;
    }
    const auto& tables = std::get<vantora::TermTables>(loaded);
    if (batch) {
        const auto outcome = vantora::cli::run_batch(STDIN_FILENO, STDOUT_FILENO, tables, *jobs);
        if (outcome.io_error) {
            std::cerr << *outcome.io_error << '\n';
            return io_failed;
        }
        return outcome.any_line_failed ? batch_line_failed : ok;
    }

    const auto computed = vantora::compute_chart(request->record, request->now, tables, request->rules);
    if (const auto* failed = std::get_if<vantora::ChartError>(&computed)) {
        std::cerr << failed->message << '\n';
        return failed->cause == vantora::ChartError::Cause::terms ? bad_term_files : bad_options;
    }
    const auto& chart = std::get<vantora::Chart>(computed);
    vantora::request::JsonBuffer out;
    if (*ahead && (*ahead)->month) {
        vantora::request::write_days_json(out, chart, (*ahead)->year, *(*ahead)->month, request->now);
        return print(out.view()) ? ok : io_failed;
    }
    if (*ahead) {
        if (!vantora::request::write_months_json(out, chart, (*ahead)->year, tables)) {
            std::cerr << "項の表（planet.txt, latitude.txt）から節入りの時刻を求められません\n";
            return bad_term_files;
        }
        return print(out.view()) ? ok : io_failed;
    }
    if (json) {
        vantora::request::write_chart_json(out, chart, *request);
    } else {
        out.append(vantora::export_text(chart.texts, request->record.sex, request->stamp));
    }
    out.push_back('\n');
    return print(out.view()) ? ok : io_failed;
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // A closed standard output would let the next file opened (a term file, the chart book) take
    // its number and receive the output: refuse to start. Closed input and error outputs are
    // given /dev/null, so that no file takes their numbers either.
    if (::fcntl(STDOUT_FILENO, F_GETFD) == -1) {
        std::cerr << vantora::cli::write_error_message(EBADF) << '\n';
        return io_failed;
    }
    for (const int fd : {STDIN_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) == -1) ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    }
    const int status = run(argc, argv);
    // What the book and place commands wrote through std::cout.
    errno = 0;
    std::cout.flush();
    if (!std::cout) {
        std::cerr << vantora::cli::write_error_message(errno != 0 ? errno : EIO) << '\n';
        return io_failed;
    }
    return status;
}
