#include "cli/batch.hpp"

#include "chart/compute_chart.hpp"
#include "cli/chart_request.hpp"
#include "cli/command_line.hpp"
#include "cli/json_writer.hpp"
#include "core/message_text.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace vantora::cli {
namespace {

constexpr std::size_t kBlockLines = 32; ///< lines per block: their output (about 100 KB) stays in cache
constexpr std::size_t kBlockInputBytes = 64 * 1024; ///< a block takes no more lines past this
constexpr std::size_t kReadBytes = 256 * 1024;      ///< one read(2) at most
constexpr std::size_t kBlocksInFlightPerThread = 2; ///< blocks read ahead of the writer, per thread

/// The lines of one block and their answers.
struct Block {
    struct Line {
        std::size_t from = 0, size = 0; ///< bytes in `text`
        long number = 0;                ///< 1 for the first line of the input
    };
    std::string text;
    std::vector<Line> lines;
    JsonBuffer out;
    bool any_failed = false;
};

/// Splits a file descriptor into lines ("\n"; a "\r" before it stays on the line). A line longer
/// than kMaxBatchLineBytes is kept only to kMaxBatchLineBytes + 1 bytes, the rest skipped unread
/// into memory.
class LineReader {
public:
    explicit LineReader(int fd)
        : fd_(fd)
        , buffer_(kReadBytes) {}

    /// Appends the next line to `text` (without its "\n") and returns true, or returns false at
    /// the end of the input or after a failed read (then error() is set).
    bool next(std::string& text) {
        bool kept_whole = true; // false once the line passed the limit
        std::size_t kept = 0;
        for (;;) {
            const char* begin = buffer_.data() + begin_;
            const char* end = buffer_.data() + end_;
            const char* newline =
                static_cast<const char*>(std::memchr(begin, '\n', static_cast<std::size_t>(end - begin)));
            const char* piece_end = newline ? newline : end;
            if (kept_whole) {
                const std::size_t room = kMaxBatchLineBytes + 1 - kept;
                const std::size_t piece =
                    std::min<std::size_t>(room, static_cast<std::size_t>(piece_end - begin));
                text.append(begin, piece);
                kept += piece;
                kept_whole = kept <= kMaxBatchLineBytes;
            }
            if (newline) {
                begin_ = static_cast<std::size_t>(newline + 1 - buffer_.data());
                return true;
            }
            begin_ = end_ = 0;
            if (!fill()) return false;                     // a failed read: error() tells why
            if (end_ == 0) return kept > 0 || !kept_whole; // a last line without "\n" still counts
        }
    }

    int error() const { return error_; }

private:
    /// Reads more bytes into the empty buffer; false after a failed read.
    bool fill() {
        for (;;) {
            const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
            if (got >= 0) {
                end_ = static_cast<std::size_t>(got);
                return true;
            }
            if (errno != EINTR) {
                error_ = errno;
                return false;
            }
        }
    }

    int fd_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0, end_ = 0; ///< unread bytes of buffer_
    int error_ = 0;
};

/// Fills a block with the next lines; false when there are none.
bool read_block(LineReader& reader, long& number, Block& block) {
    block.text.clear();
    block.lines.clear();
    while (block.lines.size() < kBlockLines && block.text.size() < kBlockInputBytes) {
        const std::size_t from = block.text.size();
        if (!reader.next(block.text)) break;
        block.lines.push_back({from, block.text.size() - from, ++number});
    }
    return !block.lines.empty();
}

/// Answers every line of a block into block.out.
void compute_block(Block& block, const TermTables& tables) {
    block.out.clear();
    block.any_failed = false;
    for (const Block::Line& line : block.lines) {
        const std::string_view text(block.text.data() + line.from, line.size);
        if (text.find_first_not_of(" \t\r") == std::string_view::npos) continue; // no birth on it
        const auto parsed = parse_batch_line(text);
        if (const auto* error = std::get_if<RequestError>(&parsed)) {
            block.any_failed = true;
            write_error_json(block.out, line.number, error->message);
        } else {
            const auto& request = std::get<Request>(parsed);
            const auto chart = compute_chart(request.record, request.now, tables);
            if (const auto* failed = std::get_if<ChartError>(&chart)) {
                block.any_failed = true;
                write_error_json(block.out, line.number, failed->message);
            } else {
                write_chart_json(block.out, std::get<Chart>(chart), request);
            }
        }
        block.out.push_back('\n');
    }
}

/// The blocks in flight between the reading thread, the computing threads and the writer.
class BlockPipeline {
public:
    BlockPipeline(unsigned jobs, const TermTables& tables)
        : slots_(jobs * kBlocksInFlightPerThread) {
        for (unsigned k = 0; k < jobs; ++k) workers_.emplace_back([this, &tables] { work(tables); });
    }
    ~BlockPipeline() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
            queue_.clear();
        }
        work_ready_.notify_all();
        for (auto& worker : workers_) worker.join();
    }

    std::size_t capacity() const { return slots_.size(); }
    Block& slot(std::size_t sequence) { return slots_[sequence % slots_.size()].block; }

    /// Hands the block of `sequence` (filled by the caller) to the computing threads.
    void submit(std::size_t sequence) {
        {
            const std::lock_guard lock(mutex_);
            slots_[sequence % slots_.size()].done = false;
            queue_.push_back(sequence % slots_.size());
        }
        work_ready_.notify_one();
    }

    /// Waits until the block of `sequence` is computed.
    Block& wait(std::size_t sequence) {
        Slot& s = slots_[sequence % slots_.size()];
        std::unique_lock lock(mutex_);
        block_done_.wait(lock, [&s] { return s.done; });
        return s.block;
    }

private:
    struct Slot {
        Block block;
        bool done = false;
    };

    void work(const TermTables& tables) {
        for (;;) {
            std::size_t index;
            {
                std::unique_lock lock(mutex_);
                work_ready_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
                if (queue_.empty()) return;
                index = queue_.front();
                queue_.pop_front();
            }
            compute_block(slots_[index].block, tables);
            {
                const std::lock_guard lock(mutex_);
                slots_[index].done = true;
            }
            block_done_.notify_all();
        }
    }

    std::vector<Slot> slots_;
    std::mutex mutex_;
    std::condition_variable work_ready_, block_done_;
    std::deque<std::size_t> queue_; ///< slots waiting for a thread
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

} // namespace

BatchOutcome run_batch(int in, int out, const TermTables& tables, unsigned jobs) {
    BatchOutcome outcome;
    LineReader reader(in);
    long number = 0;
    const auto finish_reading = [&reader, &outcome] {
        if (reader.error() != 0)
            outcome.io_error = "標準入力を読めません（" + system_error_text(reader.error()) + "）";
    };
    if (jobs <= 1) {
        Block block;
        while (read_block(reader, number, block)) {
            compute_block(block, tables);
            outcome.any_line_failed |= block.any_failed;
            if (const int error = write_all(out, block.out.view())) {
                outcome.io_error = write_error_message(error);
                return outcome;
            }
        }
        finish_reading();
        return outcome;
    }

    BlockPipeline pipeline(jobs, tables);
    std::size_t read = 0, written = 0; // blocks so far
    bool input_left = true;
    for (;;) {
        while (input_left && read - written < pipeline.capacity()) {
            input_left = read_block(reader, number, pipeline.slot(read));
            if (input_left) pipeline.submit(read++);
        }
        if (written == read) break;
        const Block& block = pipeline.wait(written++);
        outcome.any_line_failed |= block.any_failed;
        if (const int error = write_all(out, block.out.view())) {
            outcome.io_error = write_error_message(error); // the pipeline drops the blocks still queued
            return outcome;
        }
    }
    finish_reading();
    return outcome;
}

} // namespace vantora::cli
