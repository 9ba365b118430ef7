// The check of a typed birth: every field against its range, with a Japanese message naming the
// field, into the birth record a chart is computed from; and the check of a whole request, the
// birth with the moment its chart is computed for.
#pragma once

#include "chart/chart.hpp"
#include "request/named_place.hpp"
#include "request/typed_birth.hpp"

#include <optional>
#include <string>
#include <variant>

namespace vantora::request {

/// What is wrong with a birth or request, naming the field ("month: 1〜12の範囲外です（13）").
struct RequestError {
    std::string message;
};

/// A checked birth: its record and, when the offsets were looked up by name, the place.
struct CheckedBirth {
    BirthRecord record;
    std::optional<NamedPlace> place;
};

/// Checks a birth: year 1500..2099, month 1..12, a day of that month, hour 0..23 or "?", minute
/// 0..59, "?" or "" (none chosen), sex "male" or "female", offset minutes an optional "-" and
/// digits within −99..99 (every offset the map or a place gives), offset seconds any text of at
/// most 5 characters, or instead of both offsets a place name that matches one place (its offset
/// is the map's decision). The first field that fails is reported, in the order above.
std::variant<CheckedBirth, RequestError> check_birth(const TypedBirth& birth);

/// A chart request as typed: the birth, and the moment the age and the current luck pillar are
/// counted from.
struct TypedRequest {
    TypedBirth birth;
    std::optional<std::string> now;   ///< ISO 8601 local date-time; absent: the local clock
    std::optional<std::string> stamp; ///< time stamp of the export text; absent: formatted from now
    ChartRules rules;                 ///< the rules the chart is computed with

    friend bool operator==(const TypedRequest&, const TypedRequest&) = default;
};

/// A checked request: the record and the moment it is computed for.
struct Request {
    BirthRecord record;
    LocalDateTime now;
    std::string stamp;
    std::optional<NamedPlace> place; ///< the place the offset comes from, when one was named
    ChartRules rules;                ///< the rules the chart is computed with
};

/// Checks the birth (check_birth, where a minute "" is refused: a request names its minute), then
/// `now`, a date-time "YYYY-MM-DDTHH:MM[:SS]".
std::variant<Request, RequestError> check_request(const TypedRequest& typed);

} // namespace vantora::request
