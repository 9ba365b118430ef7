// Batch lines in, answers out, with nothing but the request layer: no options, no threads, no Qt.
// The same bytes as `vantora-chart --batch` on one thread; every other face of the chart engine
// (the browser build among them) stands on this much.
#include "core/term_file.hpp"
#include "request/chart_json.hpp"

#include <iostream>
#include <string>
#include <variant>

int main() {
    const auto loaded = vantora::init_tables();
    if (const auto* error = std::get_if<vantora::TermFileError>(&loaded)) {
        std::cerr << error->message << '\n';
        return 3;
    }
    const auto& tables = std::get<vantora::TermTables>(loaded);
    vantora::request::JsonBuffer out;
    std::string line;
    for (long number = 1; std::getline(std::cin, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        out.clear();
        vantora::request::answer_batch_line(out, line, number, tables);
        out.push_back('\n');
        std::cout << out.view();
    }
    return std::cout.flush() ? 0 : 5;
}
