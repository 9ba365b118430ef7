// Fuzz target: arbitrary bytes as planet.txt and as latitude.txt.
//
// The reader must load the tables or return an error that names the file; it must never crash,
// hang or trip a sanitizer. When a fuzzed file loads (the shipped file standing in for the other
// table), the tables must hold every invariant of table_failures: a plausible Sun and whole
// charts, each holding every chart invariant, at the edges of the date range and around a
// solar-term change.
#include "core/term_file.hpp"
#include "fuzz/chart_invariants.hpp"
#include "fuzz/shipped_tables.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

void check_error(const vantora::TermFileError& error, const std::string& name) {
    require(!error.message.empty(), "empty error message");
    require(error.message.starts_with(name), "error message does not name the file");
}

void check_tables(const vantora::TermTables& tables) {
    const std::string failures = vantora::invariants::table_failures(tables);
    if (!failures.empty()) {
        std::fprintf(stderr, "tables that load break invariants:\n%s", failures.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vantora::TermTables& shipped = vantora::fuzzing::shipped_tables();
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    {
        std::istringstream in(bytes);
        const auto planet = vantora::read_planet_terms(in, "planet.txt");
        if (const auto* error = std::get_if<vantora::TermFileError>(&planet)) {
            check_error(*error, "planet.txt");
        } else {
            vantora::TermTables tables = shipped;
            tables.planet_terms = std::get<0>(planet);
            check_tables(tables);
        }
    }
    {
        std::istringstream in(bytes);
        const auto latitude = vantora::read_latitude_terms(in, "latitude.txt");
        if (const auto* error = std::get_if<vantora::TermFileError>(&latitude)) {
            check_error(*error, "latitude.txt");
        } else {
            vantora::TermTables tables = shipped;
            tables.latitude_terms = std::get<0>(latitude);
            check_tables(tables);
        }
    }
    return 0;
}
