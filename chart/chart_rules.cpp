#include "chart/chart_rules.hpp"

namespace vantora {
namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::optional<std::string> set_rule(ChartRules& rules, std::string_view key, std::string_view value) {
    for (const RuleChoice& choice : kRuleChoices) {
        if (choice.key != key) continue;
        if (value != choice.default_value && value != choice.alternative_value) {
            return "規則「" + std::string(key) + "」の値「" + std::string(value) + "」は使えません（" +
                   std::string(choice.default_value) + " または " + std::string(choice.alternative_value) +
                   "）";
        }
        rules.*choice.chosen = value == choice.alternative_value;
        return std::nullopt;
    }
    std::string known;
    for (const RuleChoice& choice : kRuleChoices)
        known += (known.empty() ? "" : ", ") + std::string(choice.key);
    return "規則「" + std::string(key) + "」はありません（" + known + "）";
}

std::optional<std::string> read_rule_list(ChartRules& rules, std::string_view list) {
    while (!trimmed(list).empty()) {
        const auto comma = list.find(',');
        const std::string_view part = list.substr(0, comma);
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
        const auto equals = part.find('=');
        if (equals == std::string_view::npos) {
            return "規則「" + std::string(trimmed(part)) + "」に値がありません（キー=値 の形で）";
        }
        if (auto error = set_rule(rules, trimmed(part.substr(0, equals)), trimmed(part.substr(equals + 1))))
            return error;
    }
    return std::nullopt;
}

std::string applied_rules_text(const ChartRules& rules) {
    std::string text;
    for (const RuleChoice& choice : kRuleChoices) {
        if (!(rules.*choice.chosen)) continue;
        text += text.empty() ? "適用規則: " : "・";
        text += choice.label;
    }
    return text;
}

} // namespace vantora
