// One line of a batch: a JSON object with the texts of a birth and the moment it is computed for,
// read into a typed request (and checked, for callers that want the record at once).
#pragma once

#include "request/check_birth.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace vantora::request {

/// The fields of a birth that a batch line gives as texts (a string, or a whole number as its
/// decimal text), in the order they are required and their errors reported.
inline constexpr std::pair<std::string_view, std::string TypedBirth::*> kBirthTextFields[] = {
    {"year", &TypedBirth::year},
    {"month", &TypedBirth::month},
    {"day", &TypedBirth::day},
    {"hour", &TypedBirth::hour},
    {"minute", &TypedBirth::minute},
    {"sex", &TypedBirth::sex},
    {"offset_minutes", &TypedBirth::offset_minutes},
    {"offset_seconds", &TypedBirth::offset_seconds}};

/// How many of kBirthTextFields a line with a "place" gives: all but the last two, the offsets,
/// which the place stands for.
inline constexpr std::size_t kBirthTextFieldsWithPlace = std::size(kBirthTextFields) - 2;

/// A batch line longer than this (bytes, without its line end) is refused unread.
inline constexpr std::size_t kMaxBatchLineBytes = 64 * 1024;
/// A batch line nesting objects and arrays deeper than this is refused unparsed (a birth is 1).
inline constexpr std::size_t kMaxBatchNesting = 32;

/// Reads one line of a batch as the texts of a birth, unchecked: a JSON object with the keys year,
/// month, day, hour, minute, sex, offset_minutes, offset_seconds (or instead of both "place"), now
/// and optionally stamp. Numbers with a whole value become their decimal texts (−0 and −0.0
/// become "-0", as west as the text); numbers with a fraction are refused (texts are read by the
/// input boxes' rules, a number by its value, and the two would differ). Lines longer than
/// kMaxBatchLineBytes or nested deeper than kMaxBatchNesting are refused before parsing. Other keys are
/// ignored; when `object` is given it receives the whole parsed object, for callers that read keys of their
/// own. A plain line (see read_plain_batch_line) is read without the JSON parser, to the same result.
std::variant<TypedRequest, RequestError> read_batch_line(std::string_view line,
                                                         nlohmann::json* object = nullptr);

/// read_batch_line by the JSON parser, for every line: its answer to any line that is not plain
/// and whenever `object` is asked for.
std::variant<TypedRequest, RequestError> read_json_batch_line(std::string_view line,
                                                              nlohmann::json* object = nullptr);

/// Reads and checks one line of a batch: read_batch_line, then check_request.
std::variant<Request, RequestError> parse_batch_line(std::string_view line);

} // namespace vantora::request
