// Hidden stems (蔵干), the element in season (旺) and the ten-god relations (生剋).
//
// A branch does not carry one fixed hidden stem: the stem is chosen by how far the birth has
// advanced through the branch's period — the Sun's longitude for the month and the year, the
// true solar clock for the day and the hour.
#pragma once

#include <optional>
#include <string_view>

namespace vantora {

/// The element ruling the birth season and the month's hidden stem.
struct SeasonStem {
    std::string_view element; ///< "木" "火" "土" "金" "水"
    int stem = 0;             ///< hidden stem of the month, 1..10
};

/// By solar month 1..12 and longitude L (degrees). The seasons: 木 315°–27°, 火 45°–117°,
/// 金 135°–207°, 水 225°–297°, each split into a yang and a yin half of 36°; 土 the 18° before
/// each (戊 in the 辰 and 戌 months, 己 in the 未 and 丑 months). nullopt when month_no and L
/// disagree (no real date gives that).
std::optional<SeasonStem> season_and_month_hidden(int month_no, double longitude);

/// Hidden stem of the year branch 1..12 by the longitude L: the first 72° after the spring
/// start (315°) or the first 144° decide between the branch's stems.
int year_hidden_stem(int year_branch, double longitude);

/// Hidden stem of the day branch by the true solar clock x in hours (4.8 h is 72° of a day).
int day_hidden_stem(int day_branch, double hours);

/// Hidden stem of the hour branch by the true solar clock x in hours; nullopt when x lies
/// outside the two hours of that branch.
std::optional<int> hour_hidden_stem(int hour_branch, double hours);

/// The part of a branch's month a hidden stem rules when the stems are counted by days: the
/// residue of the month before (余気), the middle (中気), the branch's own stem (本気). `none`
/// when the stems were chosen by the season and the clock.
enum class HiddenPart { none, residual, middle, main };

/// "余気" "中気" "本気"; empty for none.
std::string_view hidden_part_name(HiddenPart part);

/// A hidden stem counted by days and the part it rules.
struct DayCountedStem {
    int stem = 0; ///< 1..10
    HiddenPart part = HiddenPart::none;
};

/// The hidden stem of branch 1..12 on day `day` (1 = the day of the birth month's term instant,
/// counting whole days elapsed plus one) by the 人元司令分野 table, e.g. 寅: 戊 days 1–7, 丙 8–14,
/// 甲 from 15 to the next term.
DayCountedStem hidden_stem_by_days(int branch, int day);

/// Ten-god relation 0..4 (比 食 財 官 印) of stem tkan 1..10 to a yang (odd) day stem.
int yo_seikoku(int tkan, int day_stem);
/// The same for a yin (even) day stem.
int in_seikoku(int tkan, int day_stem);
/// The relation of tkan to day_stem, choosing yo_seikoku or in_seikoku by the day stem's parity.
int relation_to_day_stem(int tkan, int day_stem);

} // namespace vantora
