// The conventions of the vantora-chart command: its exit statuses, CLI11's messages and help in
// Japanese, and writing to standard output with every failure reported.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <string_view>

namespace vantora::cli {

/// The exit statuses of vantora-chart (listed in --help and the README).
namespace exit_status {
inline constexpr int ok = 0;
inline constexpr int batch_line_failed = 1; ///< --batch: some line was answered with its error
inline constexpr int bad_options = 2;       ///< an option is wrong or missing
inline constexpr int bad_term_files = 3;    ///< planet.txt or latitude.txt missing or damaged
inline constexpr int book_failed = 4;       ///< the chart book cannot be opened or written
inline constexpr int io_failed = 5;         ///< standard output cannot be written or input read
} // namespace exit_status

/// Sets the help's headings, the --help and --version flags (version 2.5.34, the project's) and
/// a footer with the exit statuses and the batch lines' rules, all in Japanese.
void describe_in_japanese(CLI::App& app);

/// CLI11's message for a bad command line, in Japanese and naming the option: "--frob は使えない
///引数です", "--json の値「maybe」を読めません", "--year は一度だけ指定してください", … followed by
/// the hint "（--help で使い方を表示します）".
std::string japanese_parse_error(const CLI::ParseError& error);

/// Writes all of `data` to a file descriptor, again after an interruption; 0, or the errno of
/// the write that failed.
int write_all(int fd, std::string_view data);

/// "標準出力に書き込めません（…）" for an errno.
std::string write_error_message(int error_number);

} // namespace vantora::cli
