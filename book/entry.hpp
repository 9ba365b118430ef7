// One person of the chart book as the user entered them: the birth exactly as the main window's
// inputs held it, plus a name, its reading and a memo. The chart itself is never kept: it is
// computed again from the entry whenever it is needed.
#pragma once

#include "request/typed_birth.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantora::book {

/// What a person entered. Texts are UTF-8.
struct Entry {
    std::string name; ///< required, unique in a book
    std::string kana; ///< reading (よみがな); may be empty
    std::string memo; ///< free text, may hold line breaks
    /// The birth as the main window's inputs held it: the lists' texts (minute "" when none was
    /// chosen), the offsets as shown, and the place they came from, if any.
    request::TypedBirth birth;

    bool operator==(const Entry&) const = default;
};

/// An entry as the book keeps it.
struct Record {
    std::int64_t id = 0; ///< the book's key; 0 for a record not yet in a book
    Entry entry;
    std::string created; ///< UTC time of the first save, ISO 8601 "2026-12-08T09:15:00Z"
    std::string changed; ///< UTC time of the last change, same form

    bool operator==(const Record&) const = default;
};

/// Whether a name is blank: empty or only blanks (ASCII or ideographic) and line breaks. A person
/// of the book needs a name that is not.
bool is_blank_name(std::string_view name);

/// The longest name, reading and memo a person may have, in characters. With them a person's
/// export line stays within the batch line limit (64 KiB) even when every character is written
/// as a six-byte JSON escape, so that an import reads every line an export writes.
inline constexpr std::size_t kMaxNameCharacters = 100, kMaxKanaCharacters = 100, kMaxMemoCharacters = 8000;

/// What is wrong with a person's name, reading and memo: a blank name or a text over its length
/// ("memo: 8000文字までです（8001文字）"); nothing when they can be kept.
std::optional<std::string> person_text_problem(std::string_view name, std::string_view kana,
                                               std::string_view memo);

/// Whether an entry can be kept and charted: its texts (person_text_problem) and a birth that passes
/// request::check_birth. Returns the problem in Japanese, naming the field, or nothing when the
/// entry is good.
std::optional<std::string> entry_problem(const Entry& entry);

} // namespace vantora::book
