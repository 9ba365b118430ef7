#include "cli/batch.hpp"

#include "cli/command_line.hpp"
#include "cli/line_reader.hpp"
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

namespace {

constexpr std::size_t kBlockLines = 32; ///< lines per block: their output (about 100 KB) stays in cache
constexpr std::size_t kBlockInputBytes = 64 * 1024; ///< a block takes no more lines past this

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
