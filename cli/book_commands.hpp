// The chart book from the command line: --list, --export and --import of the book at --book PATH
// (or the window program's default book).
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

namespace vantora::cli {

struct BookCommand {
    std::string path; ///< --book; empty: the default book
    bool list = false, export_lines = false, import_lines = false;
};

/// Adds --book, --list, --export and --import to the command's options.
void add_book_options(CLI::App& app, BookCommand& command);

/// Runs the book command when the parsed command line asks for one; returns its exit status:
/// 0 done, 1 an import with bad lines (listed on stderr, nothing imported), 2 a bad combination
/// of options, 4 a book that cannot be opened or written. Nothing when no book option was given.
std::optional<int> run_book_command(const CLI::App& app, const BookCommand& command);

} // namespace vantora::cli
