#include "chart/compatibility.hpp"

#include "core/names.hpp"

namespace vantora {

Compatibility compare_charts(const Chart& first, const Chart& second) {
    const std::array<StemBranch, 4> a = natal_pillars(first), b = natal_pillars(second);
    Compatibility out;
    for (std::uint8_t i = 0; i < a.size(); ++i) {
        for (std::uint8_t j = 0; j < b.size(); ++j) {
            for (Relation r : pair_relations(a[i], b[j])) {
                r.pillars = {i, static_cast<std::uint8_t>(kSecondChartPillar + j), 0};
                out.relations.push_back(std::move(r));
            }
        }
    }
    out.second_day_for_first =
        ten_god_name[static_cast<std::size_t>(ten_god(second.day_stem, first.day_stem))];
    out.first_day_for_second =
        ten_god_name[static_cast<std::size_t>(ten_god(first.day_stem, second.day_stem))];
    const auto against = [](const Chart& own, const Chart& other) {
        const VoidPair pair = void_pair(own.day_stem, own.day_branch);
        return VoidAgainst{pair, pair.contains(other.year_branch), pair.contains(other.day_branch)};
    };
    out.first_void = against(first, second);
    out.second_void = against(second, first);
    return out;
}

std::string between_relation_text(const Relation& r, std::string_view first_label,
                                  std::string_view second_label) {
    const std::string_view part = r.kind == RelationKind::stem_combination ? "干" : "支";
    std::string text;
    for (const std::uint8_t m : r.members()) {
        if (!text.empty()) text += "・";
        text += m < kSecondChartPillar ? first_label : second_label;
        text += pillar_char.at(m % kSecondChartPillar);
        text += part;
    }
    text += "　" + r.chars + "　";
    text += relation_kind_text(r.kind);
    return text;
}

namespace {

std::string void_line(const VoidAgainst& v, const Chart& other, std::string_view own,
                      std::string_view other_label) {
    std::string text(own);
    text += "の空亡　" + void_pair_text(v.pair) + "（";
    text += other_label;
    std::vector<std::string> hits;
    if (v.other_year)
        hits.push_back("年支 " + std::string(branch_name[static_cast<std::size_t>(other.year_branch)]));
    if (v.other_day)
        hits.push_back("日支 " + std::string(branch_name[static_cast<std::size_t>(other.day_branch)]));
    if (hits.empty()) return text + "の年支・日支に当たらない）";
    text += "の";
    for (std::size_t k = 0; k < hits.size(); ++k) text += (k ? "・" : "") + hits[k];
    return text + "に当たる）";
}

} // namespace

std::vector<std::string> compatibility_lines(const Compatibility& c, const Chart& first, const Chart& second,
                                             std::string_view a, std::string_view b) {
    const auto day_line = [](std::string_view from, std::string_view to, std::string_view god) {
        std::string text(from);
        text += "の日干から見た";
        text += to;
        text += "の日干　";
        text += god;
        return text;
    };
    return {day_line(a, b, c.second_day_for_first), day_line(b, a, c.first_day_for_second),
            void_line(c.first_void, second, a, b), void_line(c.second_void, first, b, a)};
}

} // namespace vantora
