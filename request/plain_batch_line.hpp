// The quick reading of the common batch line: a flat JSON object of plain texts and whole numbers,
// read without building a JSON value. Every other line is left to the JSON parser.
#pragma once

#include "request/check_birth.hpp"

#include <optional>
#include <string_view>

namespace vantora::request {

/// Reads a plain batch line exactly as read_json_batch_line would, without the JSON parser. Plain:
/// one object, JSON white space (space, tab, CR, LF) around its tokens, keys and strings of
/// printable ASCII (0x20..0x7E) without escapes, numbers of the form -?(0|[1-9][0-9]{0,17}), no
/// key of a birth field given twice, no "rules". Returns nullopt for any other line and for every line the
/// JSON reading refuses (a field missing, a number where a text is needed, …): those are left to
/// read_json_batch_line, which alone words the errors.
std::optional<TypedRequest> read_plain_batch_line(std::string_view line);

} // namespace vantora::request
