// The shipped place data: the file places.bin (written by tools/make_places.py) read into a
// PlaceIndex, and the index the program shares.
#pragma once

#include "core/place_index.hpp"

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace vantora {

/// Why the place data could not be loaded: a short Japanese sentence naming the file.
struct PlaceDataError {
    std::string message;
};

template <class T> using PlaceResult = std::variant<T, PlaceDataError>;

/// Reads the place data file's bytes (the layout tools/make_places.py writes).
PlaceResult<PlaceIndex> parse_places(std::string_view bytes);

/// Reads a place data file.
PlaceResult<PlaceIndex> load_places(const std::filesystem::path& file);

/// The places of places.bin in the program's data folder, read on the first call (thread-safe)
/// and kept for the life of the program; an error is returned on every call alike.
const PlaceResult<PlaceIndex>& shared_places();

} // namespace vantora
