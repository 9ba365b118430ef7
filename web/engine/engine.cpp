// The engine's calls for the page and its node tests: one batch line in, the chart's JSON out
// (the object `vantora-chart --batch` writes for the same line), and the places whose names hold
// a typed text. Each call returns a NUL-ended UTF-8 text that stays valid until the next call.
// The term files and places.bin are read from the root of the module's file system, where the
// build and the page put them.
#include "chart/time_difference.hpp"
#include "core/places.hpp"
#include "core/term_file.hpp"
#include "request/chart_json.hpp"
#include "request/json_writer.hpp"
#include "ui/map_geometry.hpp"

#include <emscripten/emscripten.h>

#include <string_view>
#include <utility>
#include <variant>

namespace {

using namespace vantora;

request::JsonBuffer answer;

const char* finish_answer() {
    answer.push_back('\0');
    return answer.view().data();
}

const char* error_answer(std::string_view message) {
    answer.clear();
    request::JsonWriter json(answer);
    json.begin_object();
    json.member("error", message);
    json.end_object();
    return finish_answer();
}

} // namespace

extern "C" {

/// The answer of `vantora-chart --batch` to one line, as its first line: the chart's JSON, or
/// {"line":1,"error":"…"} with the Japanese reason (a request's reason begins with its field:
/// "month: 1〜12の範囲外です（13）").
EMSCRIPTEN_KEEPALIVE const char* vantora_chart(const char* line) {
    static const auto tables = init_tables();
    answer.clear();
    if (const auto* failed = std::get_if<TermFileError>(&tables)) {
        request::write_error_json(answer, 1, failed->message);
    } else {
        request::answer_batch_line(answer, line, 1, std::get<TermTables>(tables));
    }
    return finish_answer();
}

/// The first `limit` places whose names hold `typed`, best first, as
/// [{"name":…,"lng":…,"lat":…,"minutes":"1","seconds":"2"},…] with the time difference the map's
/// "決定" gives each; {"error":"…"} when places.bin cannot be read.
EMSCRIPTEN_KEEPALIVE const char* vantora_places(const char* typed, int limit) {
    const auto& loaded = shared_places();
    if (const auto* failed = std::get_if<PlaceDataError>(&loaded)) return error_answer(failed->message);
    const auto& places = std::get<PlaceIndex>(loaded);
    answer.clear();
    request::JsonWriter json(answer);
    json.begin_array();
    for (const auto id : places.complete(typed, static_cast<std::size_t>(limit > 0 ? limit : 0))) {
        const GeoPoint point = places.point(id);
        const TimeDifferenceTexts offset = decided_time_difference(point.lon);
        json.begin_object();
        json.member("name", places.name(id));
        json.member("lng", point.lon);
        json.member("lat", point.lat);
        json.member("minutes", offset.minutes);
        json.member("seconds", offset.seconds);
        json.end_object();
    }
    json.end_array();
    return finish_answer();
}

/// A click on the map of Japan at picture pixel (x, y) (0..500, fractions allowed), converted as
/// the desktop map window converts it: {"lon":[d,m,s],"lat":[d,m,s],"minutes":…,"seconds":…},
/// the time difference being what its "決定" writes.
EMSCRIPTEN_KEEPALIVE const char* vantora_map_point(float x, float y) {
    const double lon_degrees = ui::map::longitude_at(x);
    const Dms lon = split_dms(lon_degrees);
    const Dms lat = split_dms(ui::map::latitude_at(y));
    const TimeDifferenceTexts offset = decided_time_difference(lon_degrees);
    answer.clear();
    request::JsonWriter json(answer);
    json.begin_object();
    for (const auto& [name, dms] : {std::pair{"lon", lon}, std::pair{"lat", lat}}) {
        json.key(name);
        json.begin_array();
        json.value(dms.degrees);
        json.value(dms.minutes);
        json.value(dms.seconds);
        json.end_array();
    }
    json.member("minutes", offset.minutes);
    json.member("seconds", offset.seconds);
    json.end_object();
    return finish_answer();
}

} // extern "C"
