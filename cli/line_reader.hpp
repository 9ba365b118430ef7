// Lines of the standard input (or any file descriptor) as the batch and the book's import read
// them: read(2) directly, so that a failed read is told from the end of the input, and a line
// past the batch line's limit is not held whole in memory.
#pragma once

#include "request/batch_line.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace vantora::cli {

/// Splits a file descriptor into lines ("\n"; a "\r" before it stays on the line). A line longer
/// than request::kMaxBatchLineBytes is kept only to request::kMaxBatchLineBytes + 1 bytes, the rest skipped
/// unread into memory.
class LineReader {
public:
    /// One read(2) at most.
    static constexpr std::size_t kReadBytes = 256 * 1024;

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
                const std::size_t room = request::kMaxBatchLineBytes + 1 - kept;
                const std::size_t piece =
                    std::min<std::size_t>(room, static_cast<std::size_t>(piece_end - begin));
                text.append(begin, piece);
                kept += piece;
                kept_whole = kept <= request::kMaxBatchLineBytes;
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

} // namespace vantora::cli
