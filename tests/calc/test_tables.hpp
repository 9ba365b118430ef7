// The term tables for tests: the real data files of the repository.
#pragma once

#include "core/term_file.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

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

/// The text with field `field` (1-based, ", "-separated as the shipped files are) of each of
/// the first `lines` lines replaced by value, like
/// awk -F', ' 'BEGIN{OFS=", "} NR<=lines{$field=value}1'.
inline std::string with_field(const std::string& text, int lines, int field, const std::string& value) {
    std::istringstream in(text);
    std::string out;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        if (++number <= lines) {
            std::size_t start = 0;
            for (int f = 1; f < field; ++f) start = line.find(", ", start) + 2;
            const std::size_t end = line.find(',', start);
            line.replace(start, end == std::string::npos ? std::string::npos : end - start, value);
        }
        out += line + "\n";
    }
    return out;
}

} // namespace vantora::testing
