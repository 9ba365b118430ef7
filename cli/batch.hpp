// vantora-chart --batch: birth lines in, chart lines out, in input order, on one or more threads.
#pragma once

#include "core/tables.hpp"

#include <optional>
#include <string>

namespace vantora::cli {

/// How a batch ended.
struct BatchOutcome {
    bool any_line_failed = false;        ///< some line was answered with {"line": N, "error": …}
    std::optional<std::string> io_error; ///< reading or writing failed: the message, in Japanese
};

/// Reads one birth per line from the file descriptor `in` and writes one JSON line per birth to
/// `out`, in input order: the chart, or {"line": N, "error": …} for a bad line (N counts every
/// line, blank ones included, which get no answer). Lines are read in blocks; each of `jobs`
/// threads (the calling one among them) reads a block, computes it and writes it in its turn, so
/// that at most one block per thread is held and the output is the same bytes as with one thread. A line
/// longer than kMaxBatchLineBytes is read only that far and answered with its error. A failed write (a full
/// disk, a closed pipe with SIGPIPE ignored) stops the batch at once; a failed read ends the input there,
/// after the lines read before it are answered.
BatchOutcome run_batch(int in, int out, const TermTables& tables, unsigned jobs);

} // namespace vantora::cli
