// The birth place by name on the command line: --place NAME instead of the offsets, and
// --find TEXT to list the places a name matches.
#pragma once

#include "request/typed_birth.hpp"

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

namespace vantora::cli {

struct PlaceOptions {
    std::string place; ///< --place
    std::string find;  ///< --find
};

/// Adds --place and --find to the command's options.
void add_place_options(CLI::App& app, PlaceOptions& options);

/// Acts on the parsed place options. --find writes the matching places and gives the exit status
/// (0 some found, 2 none or no data); --place together with --offset-minutes or --offset-seconds
/// gives 2 with a message; otherwise --place is handed to `birth` and nothing is returned.
std::optional<int> use_place_options(const CLI::App& app, const PlaceOptions& options,
                                     request::TypedBirth& birth);

} // namespace vantora::cli
