// The term tables shipped in data/, for the fuzz targets: loaded once, and a broken shipped file
// stops the run at once instead of being mistaken for a finding.
#pragma once

#include "core/term_file.hpp"

#include <cstdio>
#include <cstdlib>

namespace vantora::fuzzing {

inline const TermTables& shipped_tables() {
    static const TermTables tables = [] {
        const auto loaded = load_term_tables(VANTORA_SOURCE_DIR "/data");
        if (const auto* error = std::get_if<TermFileError>(&loaded)) {
            std::fprintf(stderr, "shipped term files do not load: %s\n", error->message.c_str());
            std::abort();
        }
        return std::get<TermTables>(loaded);
    }();
    return tables;
}

} // namespace vantora::fuzzing
