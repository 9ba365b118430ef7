#include "request/named_place.hpp"

#include "core/message_text.hpp"

#include <charconv>

namespace vantora::request {
namespace {

/// The shortest decimal text that reads back as x ("135.260471").
std::string decimal_text(double x) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, x).ptr;
    return std::string(buffer, end);
}

} // namespace

std::variant<NamedPlace, std::string> find_named_place(std::string_view typed) {
    const auto& loaded = shared_places();
    if (const auto* error = std::get_if<PlaceDataError>(&loaded)) return "place: " + error->message;
    const auto& places = std::get<PlaceIndex>(loaded);
    const PlaceMatch match = places.match(typed);
    if (match.kind == PlaceMatch::Kind::not_found) {
        return "place: " + places.failure_text(match) + "（" + echoed_text(typed) + "）";
    }
    if (match.kind == PlaceMatch::Kind::ambiguous) return "place: " + places.failure_text(match);
    const auto id = match.places.front();
    const GeoPoint point = places.point(id);
    return NamedPlace{std::string(places.name(id)), point, decided_time_difference(point.lon)};
}

bool write_found_places(std::string_view typed, std::ostream& out, std::ostream& error) {
    const auto& loaded = shared_places();
    if (const auto* data_error = std::get_if<PlaceDataError>(&loaded)) {
        error << data_error->message << '\n';
        return false;
    }
    const auto& places = std::get<PlaceIndex>(loaded);
    const auto found = places.complete(typed, places.size());
    if (found.empty()) {
        error << places.failure_text({}) << "（" << echoed_text(typed) << "）\n";
        return false;
    }
    std::string lines;
    for (const auto id : found) {
        const GeoPoint point = places.point(id);
        const TimeDifferenceTexts offset = decided_time_difference(point.lon);
        lines.append(places.name(id)).append("\t").append(decimal_text(point.lon)).append("\t");
        lines.append(decimal_text(point.lat)).append("\t").append(offset.minutes).append("分");
        lines.append(offset.seconds).append("秒\n");
    }
    out << lines;
    return true;
}

nlohmann::ordered_json place_json(const NamedPlace& place) {
    return {{"name", place.name}, {"lat", place.point.lat}, {"lng", place.point.lon}};
}

} // namespace vantora::request
