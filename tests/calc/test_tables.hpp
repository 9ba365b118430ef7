// The term tables for tests: the real data files of the repository.
#pragma once

#include "core/term_file.hpp"

#include <gtest/gtest.h>

namespace vantora::testing {

/// The term tables from data/ of the source tree, loaded once.
inline const TermTables& real_tables() {
    static const TermTables tables = [] {
        auto loaded = load_term_tables(VANTORA_SOURCE_DIR "/data");
        if (auto* error = std::get_if<TermFileError>(&loaded)) {
            ADD_FAILURE() << error->message;
            return TermTables{};
        }
        return std::get<TermTables>(loaded);
    }();
    return tables;
}

} // namespace vantora::testing
