#include "chart/details.hpp"

#include "chart/hidden_stems.hpp"
#include "core/calendar.hpp"
#include "core/names.hpp"

namespace vantora {
namespace {

/// Branch 1..12 of each stem's 長生 (index = stem 1..10; 0 unused): 甲 亥, 乙 午, 丙 寅, 丁 酉,
/// 戊 寅, 己 酉, 庚 巳, 辛 子, 壬 申, 癸 卯.
constexpr std::array<int, 11> kLongLifeBranch{0, 12, 7, 3, 10, 3, 10, 6, 1, 9, 4};

/// a mod 12 in 0..11 for any sign of a.
constexpr int mod12(int a) {
    return ((a % 12) + 12) % 12;
}

/// A branch index 1..12 from any whole number, counting round the twelve.
constexpr int branch_index(int n) {
    return mod12(n - 1) + 1;
}

} // namespace

std::array<StemBranch, 4> natal_pillars(const Chart& c) {
    const StemBranch hour = c.hour_unknown ? StemBranch{} : StemBranch{c.hour_stem, c.hour_branch};
    return {{{c.year_stem, c.year_branch}, {c.month_stem, c.month_branch}, {c.day_stem, c.day_branch}, hour}};
}

std::vector<Relation> cycle_relations(const std::array<StemBranch, 4>& natal, StemBranch cycle) {
    const std::array<StemBranch, 5> pillars{natal[0], natal[1], natal[2], natal[3], cycle};
    return find_relations(pillars, kCyclePillar);
}

std::optional<std::string> early_change_age_text(const Chart& c) {
    if (c.texts.sai1[0] != "0") return std::nullopt;
    return c.change_months > 0 ? std::to_string(c.change_months) + "カ月"
                               : std::to_string(c.change_days) + "日";
}

std::string natal_relation_text(const Relation& r) {
    const std::string_view part = r.kind == RelationKind::stem_combination ? "干" : "支";
    std::string text;
    for (const std::uint8_t m : r.members()) {
        if (!text.empty()) text += "・";
        text += pillar_char.at(m);
        text += part;
    }
    text += "　" + r.chars + "　";
    text += relation_kind_text(r.kind);
    return text;
}

std::string cycle_relation_text(const Relation& r) {
    std::string text;
    for (const std::uint8_t m : r.members())
        if (m != kCyclePillar) text += pillar_char.at(m);
    text += relation_kind_text(r.kind);
    return text;
}

int ten_god(int stem, int day_stem) {
    const int other_polarity = stem % 2 != day_stem % 2 ? 1 : 0;
    return 2 * relation_to_day_stem(stem, day_stem) + other_polarity;
}

int twelve_stage(int day_stem, int branch) {
    const int start = kLongLifeBranch[static_cast<std::size_t>(day_stem)];
    return day_stem % 2 == 1 ? mod12(branch - start) : mod12(start - branch);
}

VoidPair void_pair(int day_stem, int day_branch) {
    const int first_day_branch = branch_index(day_branch - (day_stem - 1));
    return {branch_index(first_day_branch - 2), branch_index(first_day_branch - 1)};
}

std::string void_pair_text(VoidPair pair) {
    std::string text(branch_name[static_cast<std::size_t>(pair.first)]);
    text += branch_name[static_cast<std::size_t>(pair.second)];
    return text;
}

CycleReader::CycleReader(const Chart& c)
    : day_stem_(c.day_stem)
    , void_pair_(vantora::void_pair(c.day_stem, c.day_branch))
    , natal_(natal_pillars(c)) {}

CycleReading CycleReader::read(StemBranch pillar) const {
    return {ten_god_name[static_cast<std::size_t>(ten_god(pillar.stem, day_stem_))],
            twelve_stage_name[static_cast<std::size_t>(twelve_stage(day_stem_, pillar.branch))],
            void_pair_.contains(pillar.branch), cycle_relations(natal_, pillar)};
}

ChartDetails chart_details(const Chart& c, const LocalDateTime& now) {
    const int d = c.day_stem;
    const std::string_view placeholder = stem_name[0];
    // A hidden stem of 0 (a month or hour the hidden-stem rules do not reach) shows "□", as its
    // label does.
    const auto god = [d, placeholder](int stem) {
        return stem == 0 ? placeholder : ten_god_name[static_cast<std::size_t>(ten_god(stem, d))];
    };
    const auto stage = [d](int branch) {
        return twelve_stage_name[static_cast<std::size_t>(twelve_stage(d, branch))];
    };

    ChartDetails out;
    out.void_pair = void_pair(d, c.day_branch);
    const auto pillar = [&](int stem, int branch, int hidden) {
        return PillarDetails{god(stem), god(hidden), stage(branch), out.void_pair.contains(branch)};
    };
    out.pillars[kYearPillar] = pillar(c.year_stem, c.year_branch, c.year_hidden);
    out.pillars[kMonthPillar] = pillar(c.month_stem, c.month_branch, c.month_hidden);
    out.pillars[kDayPillar] = pillar(c.day_stem, c.day_branch, c.day_hidden);
    out.pillars[kDayPillar].stem_god = kDayMasterText;
    out.pillars[kHourPillar] = !c.hour_unknown ? pillar(c.hour_stem, c.hour_branch, c.hour_hidden)
                                               : PillarDetails{placeholder, placeholder, placeholder, false};

    const CycleReader reader(c);
    out.relations = find_relations(reader.natal());
    for (std::size_t i = 0; i < kLuckPillarCount; ++i)
        out.luck[i] = reader.read({c.luck_stem[i], c.luck_branch[i]});
    for (std::size_t i = 0; i < kAnnualPillarCount; ++i) {
        AnnualPillar& a = out.years[i];
        a.year = now.year + static_cast<int>(i);
        const int n = year_cycle(a.year);
        a.stem = stem_of(n);
        a.branch = branch_of(n);
        static_cast<CycleReading&>(a) = reader.read({a.stem, a.branch});
    }
    return out;
}

} // namespace vantora
