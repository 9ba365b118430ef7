// Reading the term files planet.txt and latitude.txt.
//
// A file is a stream of decimal numbers separated by commas, blanks, tabs or line ends (LF or
// CRLF); a leading UTF-8 byte-order mark is skipped and line breaks carry no meaning. planet.txt
// holds 120 records of p, i, j, A, α, B, β; latitude.txt 34 records of p, i, j, A, α. p, i and j
// must be whole numbers in −32768..32767 and p a body number 1..6. The other values must lie
// within generous bounds that no solar theory's term reaches (amplitudes within ±100″ in
// longitude, ±100000 × 1e-9 in log₁₀ distance and ±10″ in latitude, phases within ±720°), so
// that a damaged file is refused instead of giving a wrong chart. Anything after the last
// record is not read.
#pragma once

#include "core/tables.hpp"

#include <filesystem>
#include <istream>
#include <string>
#include <variant>

namespace vantora {

/// Why a term file could not be loaded: a short Japanese sentence naming the file, the record
/// and the problem, for example "planet.txt: 119件目で終わっています（120件が必要です）".
struct TermFileError {
    std::string message;
};

template <class T> using TermResult = std::variant<T, TermFileError>;

/// Reads the planet.txt records from a stream; file_name only labels the error messages.
TermResult<std::array<PlanetTerm, kPlanetTermCount>> read_planet_terms(std::istream& in,
                                                                       std::string_view file_name);

/// Reads the latitude.txt records from a stream; file_name only labels the error messages.
TermResult<std::array<LatitudeTerm, kLatitudeTermCount>> read_latitude_terms(std::istream& in,
                                                                             std::string_view file_name);

/// Loads both term files from folder (planet.txt first). The first problem found is returned.
TermResult<TermTables> load_term_tables(const std::filesystem::path& folder);

/// Loads the term files from the folder where the running program's data lives
/// (see data_folder()). Called once at start-up.
TermResult<TermTables> init_tables();

} // namespace vantora
