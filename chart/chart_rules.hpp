// The rules a reader may choose where schools of chart reading differ. Each rule has a default,
// the reading this program has always made, and one alternative; a chart computed with every
// default is the same to the last byte as one computed without rules.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vantora {

struct ChartRules {
    /// The day pillar changes at 23:00 of the true solar time instead of at 0:00 (the 子 hour
    /// belongs wholly to the next day).
    bool day_change_at_23 = false;
    /// The Sun's longitude (year, month, season, month hidden stem, luck) is taken at the civil
    /// instant of the standard clock, on the dynamical time scale, instead of at the true solar
    /// time read as standard time: the terms then begin at the same moment everywhere.
    bool clock_term_instant = false;
    /// The luck-change age from the days between the birth and the month's term instant (three
    /// days a year) instead of from the Sun's longitude (one degree a day).
    bool luck_start_from_days = false;
    /// The hidden stem of each branch by the days since the birth month's term instant (the
    /// 人元司令分野 table) instead of by the season and the clock.
    bool hidden_stems_from_days = false;
    /// A clock time inside Japan's summer-time periods is one hour ahead of standard time.
    bool summer_time = false;

    bool all_default() const { return *this == ChartRules{}; }
    friend bool operator==(const ChartRules&, const ChartRules&) = default;
};

/// One rule as the command, a batch line and the JSON name it (the key, the value of its default
/// and of its alternative), and as a reader sees it: the words of the applied-rules line for the
/// alternative, the rule's title and the captions of its two choices.
struct RuleChoice {
    std::string_view key, default_value, alternative_value, label;
    bool ChartRules::*chosen;
    std::string_view title, default_caption, alternative_caption;
};
inline constexpr std::array<RuleChoice, 5> kRuleChoices{{
    {"day-change", "midnight", "23", "23時日替わり", &ChartRules::day_change_at_23, "日の変わり目",
     "0時（23時台は翌日の時柱のみ）", "23時（23時台は日柱も翌日）"},
    {"term-instant", "solar", "clock", "節入り実時刻", &ChartRules::clock_term_instant, "節入りの時刻",
     "出生地の真太陽時で見る", "時計の時刻（全国同時、暦と同じ）"},
    {"luck-start", "longitude", "days", "立運日数計算", &ChartRules::luck_start_from_days, "立運（大運交替）",
     "太陽黄経の差（1度を1日）", "節入りまでの日数（3日を1年）"},
    {"hidden-stems", "season", "days", "蔵干日数分野", &ChartRules::hidden_stems_from_days, "蔵干",
     "季節と時刻で選ぶ", "節入りからの日数（人元司令分野）"},
    {"summer-time", "off", "on", "夏時刻補正", &ChartRules::summer_time, "夏時刻（1948〜1951年）",
     "補正しない（時刻は標準時）", "補正する（時計の時刻から1時間戻す）"},
}};

/// The value a rule holds, as its key names it.
inline std::string_view rule_value(const ChartRules& rules, const RuleChoice& choice) {
    return rules.*choice.chosen ? choice.alternative_value : choice.default_value;
}

/// Sets the rule `key` to `value`; the Japanese error naming the unknown key or value otherwise.
std::optional<std::string> set_rule(ChartRules& rules, std::string_view key, std::string_view value);

/// Sets the rules of a list "key=value,key=value" (blanks around the parts are ignored; an empty
/// list sets nothing); the error of the first part that is no known key and value.
std::optional<std::string> read_rule_list(ChartRules& rules, std::string_view list);

/// The line that names the rules used, e.g. "適用規則: 23時日替わり・節入り実時刻"; empty when
/// every rule is the default.
std::string applied_rules_text(const ChartRules& rules);

} // namespace vantora
