#include "cli/place_options.hpp"

#include "cli/named_place.hpp"

#include <iostream>

namespace vantora::cli {
namespace {

constexpr int kExitBadInput = 2;

} // namespace

void add_place_options(CLI::App& app, PlaceOptions& options) {
    app.add_option("--place", options.place,
                   "birth place by name (e.g. 京都府綾部市本町一丁目); sets the time difference as the "
                   "map does, instead of --offset-minutes/--offset-seconds");
    app.add_option("--find", options.find,
                   "list the places matching a name: name, longitude, latitude, time difference");
}

std::optional<int> use_place_options(const CLI::App& app, const PlaceOptions& options, RawBirth& raw) {
    if (app.count("--find") > 0) {
        return write_found_places(options.find, std::cout, std::cerr) ? 0 : kExitBadInput;
    }
    if (app.count("--place") == 0) return std::nullopt;
    if (app.count("--offset-minutes") > 0 || app.count("--offset-seconds") > 0) {
        std::cerr << "--place と --offset-minutes/--offset-seconds は同時に指定できません\n";
        return kExitBadInput;
    }
    raw.place = options.place;
    return std::nullopt;
}

} // namespace vantora::cli
