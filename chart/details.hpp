// The detail readings of a chart: the ten-god name (通変星) of every stem, the twelve stage (十二運)
// of the day stem on every branch, the void pair (空亡) of the day pillar's decade, and the
// pillars of the coming years (年運). All are read from the chart as computed, never from the
// reversed view, and computed only when asked for (compute_chart does not fill them).
#pragma once

#include "chart/chart.hpp"
#include "chart/relations.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantora {

/// Ten-god names at 2 × r + p: r the five-element relation 0..4 to the day stem (same element,
/// produced, overcome, overcoming, producing), p = 0 for the day stem's polarity, 1 for the other.
inline constexpr std::array<std::string_view, 10> ten_god_name{"比肩", "劫財", "食神", "傷官", "偏財",
                                                               "正財", "偏官", "正官", "偏印", "印綬"};

/// The twelve stages in the order a stem passes through them, 長生 first.
inline constexpr std::array<std::string_view, 12> twelve_stage_name{
    "長生", "沐浴", "冠帯", "建禄", "帝旺", "衰", "病", "死", "墓", "絶", "胎", "養"};

/// The natal pillars' one-character names by PillarPlace, as the relation lines name them.
inline constexpr std::array<std::string_view, 4> pillar_char{"年", "月", "日", "時"};

/// Shown instead of a ten-god name at the day stem's own place.
inline constexpr std::string_view kDayMasterText = "日主";

inline constexpr std::size_t kAnnualPillarCount = 10; ///< the present civil year and the nine after it

/// Ten-god index 0..9 (entry of ten_god_name) of stem 1..10 relative to day stem 1..10.
/// The relation r is the five-category relation of relation_to_day_stem.
int ten_god(int stem, int day_stem);

/// Twelve-stage index 0..11 (entry of twelve_stage_name) of day stem 1..10 on branch 1..12:
/// counted from the branch of the stem's 長生, forward for a yang stem, backward for a yin one.
int twelve_stage(int day_stem, int branch);

/// The two branches (1..12) a ten-day decade does not reach.
struct VoidPair {
    int first = 0, second = 0; ///< the earlier branch first: 戌 then 亥 for the 甲子 decade
    bool contains(int branch) const { return branch == first || branch == second; }
};

/// The void pair of the decade of the day pillar day_stem 1..10, day_branch 1..12 (a valid
/// sexagenary pair, same parity): with f the branch of the decade's 甲 day, f − 2 and f − 1.
VoidPair void_pair(int day_stem, int day_branch);

/// The void pair as its two branch characters, e.g. "戌亥".
std::string void_pair_text(VoidPair pair);

/// The readings under one of the four pillars. For an unknown hour the three texts are "□"
/// and is_void is false.
struct PillarDetails {
    std::string_view stem_god;   ///< ten-god name of the stem; "日主" for the day pillar
    std::string_view hidden_god; ///< ten-god name of the hidden stem
    std::string_view stage;      ///< twelve stage of the day stem on the branch
    bool is_void = false;        ///< the branch is in the void pair
};

/// The readings of a pillar that comes and goes — a luck, annual, month or day pillar — against
/// the natal chart: the ten-god name of its stem, the day stem's twelve stage on its branch, its
/// void mark and its relations with the natal pillars (see cycle_relations).
struct CycleReading {
    std::string_view stem_god, stage;
    bool is_void = false;
    std::vector<Relation> relations;
};

/// The readings of one luck pillar.
using LuckDetails = CycleReading;

/// The pillar of one civil year: year_cycle(year), which begins at that year's spring start
/// (立春, about 4 February), with its readings.
struct AnnualPillar : CycleReading {
    int year = 0;
    int stem = 0, branch = 0; ///< 1..10, 1..12
};

/// Indices of ChartDetails::pillars.
enum PillarPlace : std::size_t { kYearPillar, kMonthPillar, kDayPillar, kHourPillar };

/// Every detail reading of a chart.
struct ChartDetails {
    std::array<PillarDetails, 4> pillars; ///< by PillarPlace
    VoidPair void_pair;
    std::array<LuckDetails, kLuckPillarCount> luck; ///< luck pillars 0..10 as in Chart
    std::array<AnnualPillar, kAnnualPillarCount> years;
    std::vector<Relation> relations; ///< among the natal pillars, indices by PillarPlace
};

/// The four natal pillars by PillarPlace as the relations see them; an unknown hour takes no part.
std::array<StemBranch, 4> natal_pillars(const Chart& chart);

/// The relations a luck, annual, month or day pillar makes with the natal pillars: the pillars
/// searched are the four natal ones (indices by PillarPlace) and `cycle` at index kCyclePillar,
/// and only the relations that include it are kept.
inline constexpr std::size_t kCyclePillar = 4;
std::vector<Relation> cycle_relations(const std::array<StemBranch, 4>& natal, StemBranch cycle);

/// The age of a first luck change before age 1, whose start and end ages both read "0" in the
/// chart's age rows: its months ("8カ月"), or its days when under a month ("12日"); nullopt for a
/// later change.
std::optional<std::string> early_change_age_text(const Chart& chart);

/// A natal relation as a line of the details: the pillars' parts, the characters and the kind,
/// e.g. "年支・日支　子午　冲", "年干・日干　甲己　干合", "年支・月支・時支　亥子丑　方合".
std::string natal_relation_text(const Relation& relation);

/// A relation of a cycle pillar (see cycle_relations) in short: the natal pillars it reaches and
/// the kind, e.g. "年干合", "日時三合".
std::string cycle_relation_text(const Relation& relation);

/// Reads pillars that come and go against one natal chart.
class CycleReader {
public:
    explicit CycleReader(const Chart& chart);
    CycleReading read(StemBranch pillar) const;
    VoidPair void_pair() const { return void_pair_; }
    const std::array<StemBranch, 4>& natal() const { return natal_; }

private:
    int day_stem_;
    VoidPair void_pair_;
    std::array<StemBranch, 4> natal_;
};

/// The detail readings of a computed chart; an hour that was not given (chart.hour_unknown) shows
/// "□". now: the present local time, whose civil year is the first of the annual pillars.
ChartDetails chart_details(const Chart& chart, const LocalDateTime& now);

} // namespace vantora
