#include "cli/place_options.hpp"

#include "request/named_place.hpp"

#include <iostream>

namespace vantora::cli {
namespace {

constexpr int kExitBadInput = 2;

} // namespace

void add_place_options(CLI::App& app, PlaceOptions& options) {
    app.add_option("--place", options.place,
                   "生まれた場所の名前（例: 京都府綾部市本町一丁目）。--offset-minutes/--offset-seconds の"
                   "代わりに、地図と同じ時差にする")
        ->type_name("NAME");
    app.add_option("--find", options.find, "名前に合う場所を一覧する: 名前、経度、緯度、時差")
        ->type_name("NAME");
}

std::optional<int> use_place_options(const CLI::App& app, const PlaceOptions& options,
                                     request::TypedBirth& birth) {
    if (app.count("--find") > 0) {
        return request::write_found_places(options.find, std::cout, std::cerr) ? 0 : kExitBadInput;
    }
    if (app.count("--place") == 0) return std::nullopt;
    if (app.count("--offset-minutes") > 0 || app.count("--offset-seconds") > 0) {
        std::cerr << "--place と --offset-minutes/--offset-seconds は同時に指定できません\n";
        return kExitBadInput;
    }
    birth.place = options.place;
    birth.offset_minutes.clear(); // the place's, looked up when checked
    birth.offset_seconds.clear();
    return std::nullopt;
}

} // namespace vantora::cli
