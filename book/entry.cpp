#include "book/entry.hpp"

#include "request/check_birth.hpp"

#include <variant>

namespace vantora::book {

bool is_blank_name(std::string_view name) {
    return name.find_first_not_of(" \t\r\n　") == std::string_view::npos;
}

std::optional<std::string> entry_problem(const Entry& entry) {
    if (is_blank_name(entry.name)) return "name: 名前がありません";
    const auto checked = request::check_birth(entry.birth);
    if (const auto* error = std::get_if<request::RequestError>(&checked)) return error->message;
    return std::nullopt;
}

} // namespace vantora::book
