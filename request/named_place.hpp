// A birth place given by name to the chart command: looked up in the shipped places, turned into
// the time difference the map's "決定" gives its longitude, and written out.
#pragma once

#include "chart/time_difference.hpp"
#include "core/places.hpp"

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>
#include <string_view>
#include <variant>

namespace vantora::request {

/// A place as a request names it.
struct NamedPlace {
    std::string name;           ///< the full name in the data, e.g. "京都府綾部市本町一丁目"
    GeoPoint point;             ///< degrees east and north
    TimeDifferenceTexts offset; ///< what "決定" writes for point.lon, e.g. "1" and "2"
};

/// Looks a typed name up in places.bin (read on the first call): the place, or a message for the
/// request's "place" field — "place: 見つかりません（綾部市本町九丁目）", "place: 候補が 12 件あります：…",
/// or the data file's own error.
std::variant<NamedPlace, std::string> find_named_place(std::string_view typed);

/// Writes every place matching typed, best first (as the completion orders them), one line each:
/// name, longitude, latitude and the time difference as "M分S秒" with the texts "決定" writes,
/// separated by tabs. Returns false (and writes the reason to `error`) when none matches or the
/// data cannot be read.
bool write_found_places(std::string_view typed, std::ostream& out, std::ostream& error);

/// The JSON member "place" of a chart: {"name": …, "lat": …, "lng": …}.
nlohmann::ordered_json place_json(const NamedPlace& place);

} // namespace vantora::request
