// The quick reading of the common batch line: a flat JSON object of plain texts and whole numbers,
// read without building a JSON value. Every other line is left to the JSON parser.
#pragma once

#include "cli/chart_request.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vantora::cli {

/// The fields of a birth that a batch line gives as texts (a string, or a whole number as its
/// decimal text), in the order they are required and their errors reported.
inline constexpr std::pair<std::string_view, std::string RawBirth::*> kBirthTextFields[] = {
    {"year", &RawBirth::year},
    {"month", &RawBirth::month},
    {"day", &RawBirth::day},
    {"hour", &RawBirth::hour},
    {"minute", &RawBirth::minute},
    {"sex", &RawBirth::sex},
    {"offset_minutes", &RawBirth::offset_minutes},
    {"offset_seconds", &RawBirth::offset_seconds}};

/// How many of kBirthTextFields a line with a "place" gives: all but the last two, the offsets,
/// which the place stands for.
inline constexpr std::size_t kBirthTextFieldsWithPlace = std::size(kBirthTextFields) - 2;

/// Reads a plain batch line exactly as read_json_batch_line would, without the JSON parser. Plain:
/// one object, JSON white space (space, tab, CR, LF) around its tokens, keys and strings of
/// printable ASCII (0x20..0x7E) without escapes, numbers of the form -?(0|[1-9][0-9]{0,17}), no
/// key of a birth field given twice. Returns nullopt for any other line and for every line the
/// JSON reading refuses (a field missing, a number where a text is needed, …): those are left to
/// read_json_batch_line, which alone words the errors.
std::optional<RawBirth> read_plain_batch_line(std::string_view line);

} // namespace vantora::cli
