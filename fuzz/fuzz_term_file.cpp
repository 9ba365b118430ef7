// Fuzz target: arbitrary bytes as planet.txt and as latitude.txt.
//
// The reader must load the tables or return an error that names the file; it must never crash,
// hang or trip a sanitizer. When a fuzzed file loads, the solar theory runs once on it (with the
// shipped file standing in for the other table): a body number the reader let through outside
// 1..6 would then index past the six mean anomalies, which AddressSanitizer reports. While the
// loaded amplitudes stay within a physically conceivable bound the longitude must come out
// finite and in [0, 360); beyond it the sum may overflow, which is arithmetic, not a fault.
#include "core/solar.hpp"
#include "core/term_file.hpp"
#include "fuzz/shipped_tables.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

/// Largest sum of |A| (seconds of arc) for which the longitude must stay finite: far above the
/// real tables' few arcseconds, far below where fmod-style reduction loses every digit.
constexpr double kMaxAmplitudeSumArcsec = 1e12;

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

void check_sun(const vantora::TermTables& tables, double amplitude_sum) {
    const vantora::SunPosition sun = vantora::calc_sun_position(2000, 3, 20.3125, tables);
    if (amplitude_sum < kMaxAmplitudeSumArcsec) {
        require(std::isfinite(sun.sun_longitude), "longitude not finite");
        require(sun.sun_longitude >= 0 && sun.sun_longitude < 360, "longitude outside [0, 360)");
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
            double sum = 0;
            for (const auto& term : tables.planet_terms) {
                require(term.p >= 1 && term.p <= 6, "planet body number outside 1..6 loaded");
                sum += std::abs(term.a);
            }
            check_sun(tables, sum);
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
            for (const auto& term : tables.latitude_terms) {
                require(term.p >= 1 && term.p <= 6, "latitude body number outside 1..6 loaded");
            }
            double sum = 0;
            for (const auto& term : tables.planet_terms) sum += std::abs(term.a);
            check_sun(tables, sum);
        }
    }
    return 0;
}
