#include "cli/batch.hpp"

#include "cli/command_line.hpp"
#include "core/message_text.hpp"
#include "request/batch_line.hpp"
#include "request/chart_json.hpp"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace vantora::cli {

using request::kMaxBatchLineBytes;
namespace {

constexpr std::size_t kBlockLines = 32; ///< lines per block: their output (about 100 KB) stays in cache
constexpr std::size_t kBlockInputBytes = 64 * 1024; ///< a block takes no more lines past this
constexpr std::size_t kReadBytes = 256 * 1024;      ///< one read(2) at most

/// The lines of one block and their answers.
struct Block {
    struct Line {
        std::size_t from = 0, size = 0; ///< bytes in `text`
        long number = 0;                ///< 1 for the first line of the input
    };
    std::string text;
    std::vector<Line> lines;
    request::JsonBuffer out;
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
        if (!request::answer_batch_line(block.out, text, line.number, tables)) block.any_failed = true;
        block.out.push_back('\n');
    }
}

/// The threads of a batch. Each one takes the next block of lines, computes it and, when every
/// earlier block has been written, writes it: the output keeps the input's order and stays in the
/// cache of the core that wrote it, and at most one block per thread is held in memory.
class BatchThreads {
public:
    BatchThreads(int in, int out, const TermTables& tables)
        : reader_(in)
        , out_(out)
        , tables_(tables) {}

    /// Runs the batch on `jobs` threads (≥ 1), the calling one among them.
    BatchOutcome run(unsigned jobs) {
        std::vector<std::thread> others;
        for (unsigned k = 1; k < jobs; ++k) others.emplace_back([this] { work(); });
        work();
        for (auto& thread : others) thread.join();
        if (!outcome_.io_error && reader_.error() != 0)
            outcome_.io_error = "標準入力を読めません（" + system_error_text(reader_.error()) + "）";
        return outcome_;
    }

private:
    void work() {
        Block block;
        for (;;) {
            std::size_t sequence;
            {
                const std::lock_guard lock(read_mutex_);
                // Once the input has ended no thread reads again (a terminal would wait for more).
                input_left_ = input_left_ && !stopped_.load() && read_block(reader_, number_, block);
                if (!input_left_) return;
                sequence = blocks_read_++;
            }
            compute_block(block, tables_);
            {
                std::unique_lock lock(write_mutex_);
                turn_.wait(lock, [&] { return blocks_written_ == sequence || stopped_.load(); });
                if (stopped_.load()) return;
            }
            // Only the block whose turn it is gets here: the write needs no lock.
            outcome_.any_line_failed |= block.any_failed;
            const int error = write_all(out_, block.out.view());
            {
                const std::lock_guard lock(write_mutex_);
                if (error != 0) {
                    outcome_.io_error = write_error_message(error);
                    stopped_ = true; // the blocks not yet written are dropped
                }
                ++blocks_written_;
            }
            turn_.notify_all();
        }
    }

    std::mutex read_mutex_; ///< guards reader_, number_, input_left_ and blocks_read_
    LineReader reader_;
    long number_ = 0;
    bool input_left_ = true;
    std::size_t blocks_read_ = 0;

    std::mutex write_mutex_; ///< guards blocks_written_ and outcome_'s error
    std::condition_variable turn_;
    std::size_t blocks_written_ = 0;
    std::atomic<bool> stopped_ = false; ///< a write failed: read, compute and write no more

    int out_;
    const TermTables& tables_;
    BatchOutcome outcome_;
};

} // namespace

BatchOutcome run_batch(int in, int out, const TermTables& tables, unsigned jobs) {
    return BatchThreads(in, out, tables).run(std::max(jobs, 1u));
}

} // namespace vantora::cli
