#include "book/entry.hpp"

#include "core/message_text.hpp"
#include "request/check_birth.hpp"

#include <tuple>
#include <variant>

namespace vantora::book {

bool is_blank_name(std::string_view name) {
    return name.find_first_not_of(" \t\r\n　") == std::string_view::npos;
}

std::optional<std::string> person_text_problem(std::string_view name, std::string_view kana,
                                               std::string_view memo) {
    if (is_blank_name(name)) return "name: 名前がありません";
    for (const auto& [field, text, limit] :
         {std::tuple{"name", name, kMaxNameCharacters}, std::tuple{"kana", kana, kMaxKanaCharacters},
          std::tuple{"memo", memo, kMaxMemoCharacters}}) {
        const std::size_t characters = utf8_length(text);
        if (characters > limit) {
            return std::string(field) + ": " + std::to_string(limit) + "文字までです（" +
                   std::to_string(characters) + "文字）";
        }
    }
    return std::nullopt;
}

std::optional<std::string> entry_problem(const Entry& entry) {
    if (auto problem = person_text_problem(entry.name, entry.kana, entry.memo)) return problem;
    const auto checked = request::check_birth(entry.birth);
    if (const auto* error = std::get_if<request::RequestError>(&checked)) return error->message;
    return std::nullopt;
}

} // namespace vantora::book
