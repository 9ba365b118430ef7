// The requests of the chart command: one birth from command-line options or from one line of a
// batch, checked and turned into a birth record; and the chart written as JSON.
#pragma once

#include "chart/chart.hpp"
#include "cli/json_writer.hpp"
#include "cli/named_place.hpp"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace vantora::cli {

/// One birth as given by the user, before checking. Hour and minute are texts: a number or "?".
struct RawBirth {
    std::string year, month, day, hour, minute, sex;
    std::string offset_minutes = "0", offset_seconds = "0";
    std::optional<std::string> now;   ///< ISO 8601 local date-time; absent: the local clock
    std::optional<std::string> stamp; ///< time stamp of the export text; absent: formatted from now
    std::optional<std::string> place; ///< birth place by name, instead of the two offsets

    friend bool operator==(const RawBirth&, const RawBirth&) = default;
};

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

/// A checked request: the record and the moment it is computed for.
struct Request {
    BirthRecord record;
    LocalDateTime now;
    std::string stamp;
    std::optional<NamedPlace> place; ///< the place the offset comes from, when one was named
};

/// What is wrong with a request, naming the field ("month: 1〜12の範囲外です（13）").
struct RequestError {
    std::string message;
};

/// Checks a birth: year 1500..2099, month 1..12, a day of that month, hour 0..23 or "?", minute
/// 0..59 or "?", sex "male" or "female", offset minutes an optional "-" and digits within
/// −59..59, offset seconds any text of at most 5 characters (or instead of both offsets a place
/// name that matches one place: its offset is the map's decision and may pass ±59), `now` a
/// date-time "YYYY-MM-DDTHH:MM[:SS]".
std::variant<Request, RequestError> check_request(const RawBirth& raw);

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
std::variant<RawBirth, RequestError> read_batch_line(std::string_view line, nlohmann::json* object = nullptr);

/// read_batch_line by the JSON parser, for every line: its answer to any line that is not plain
/// and whenever `object` is asked for.
std::variant<RawBirth, RequestError> read_json_batch_line(std::string_view line,
                                                          nlohmann::json* object = nullptr);

/// Reads and checks one line of a batch: read_batch_line, then check_request.
std::variant<Request, RequestError> parse_batch_line(std::string_view line);

/// Appends the chart as the command writes it, one JSON object without a line end: every shown
/// text by control name, the bold luck pillar, the reversed view, the export text, the computed
/// values, the detail readings ("details") and, when one was named, the place ("place"). A new
/// member is one JsonWriter::member call there.
void write_chart_json(JsonBuffer& out, const Chart& chart, const Request& request);

/// The same object as write_chart_json, as a JSON value (for callers that read it back).
nlohmann::ordered_json chart_json(const Chart& chart, const Request& request);

/// Appends the answer to a bad batch line: {"line":N,"error":"…"}, without a line end.
void write_error_json(JsonBuffer& out, long line, std::string_view message);

} // namespace vantora::cli
