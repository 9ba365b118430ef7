// Texts for messages: why a system call failed, in Japanese, and bytes from outside the program
// (a damaged file, an argument) made safe to show on a terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantora {

/// Why an operation failed, for an errno value: "ファイルがありません" (ENOENT), "読み書きの許可が
/// ありません" (EACCES, EPERM), "フォルダーです" (EISDIR), "空き領域がありません" (ENOSPC), … and
/// for others "エラー番号 N".
std::string system_error_text(int error_number);

/// The bytes as a message may show them: printable ASCII and well-formed UTF-8 (except control
/// characters) as they are, every other byte as \xHH and a backslash as \\, so that no NUL, escape
/// sequence or broken character reaches the terminal.
std::string printable_text(std::string_view bytes);

/// How many characters of an input a message quotes at most.
inline constexpr std::size_t kEchoedCharacters = 40;

/// An input quoted back in a message: printable_text of its first kEchoedCharacters characters
/// (a byte that is not valid UTF-8 counts as one), followed by "…" when there were more, so that
/// a long argument or line does not flood the terminal.
std::string echoed_text(std::string_view bytes);

/// The number of characters of UTF-8 text, counted by their lead bytes (a limit said in 文字).
std::size_t utf8_length(std::string_view text);

} // namespace vantora
