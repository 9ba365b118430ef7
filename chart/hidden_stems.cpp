#include "chart/hidden_stems.hpp"

namespace vantora {
namespace {

constexpr int kJia = 1, kYi = 2, kBing = 3, kDing = 4, kWu = 5, kJi = 6, kGeng = 7, kXin = 8, kRen = 9,
              kGui = 10;

/// Index 1..12 of the branch within its group of four and the group:
/// 寅巳申亥 (one stem), 子卯午酉 (yang then yin), 丑辰未戌 (yin then earth).
enum class BranchGroup { single, cardinal, earth };

BranchGroup group_of(int branch) {
    switch (branch % 3) {
    case 0:
        return BranchGroup::single; // 寅 3, 巳 6, 申 9, 亥 12
    case 1:
        return BranchGroup::cardinal; // 子 1, 卯 4, 午 7, 酉 10
    default:
        return BranchGroup::earth; // 丑 2, 辰 5, 未 8, 戌 11
    }
}

/// Stems of a branch: for each of the four branches of its group (order by branch index),
/// the stem of its first part and of its second part.
struct BranchStems {
    int first, second;
};
constexpr BranchStems kSingle[4] = {
    {kJia, kJia}, {kBing, kBing}, {kGeng, kGeng}, {kRen, kRen}}; // 寅 巳 申 亥
constexpr BranchStems kCardinal[4] = {
    {kRen, kGui}, {kJia, kYi}, {kBing, kDing}, {kGeng, kXin}};                          // 子 卯 午 酉
constexpr BranchStems kEarth[4] = {{kGui, kJi}, {kYi, kWu}, {kDing, kJi}, {kXin, kWu}}; // 丑 辰 未 戌

/// The stem of a branch for a birth in the first part (`early` for 子卯午酉, `first_half` for
/// 丑辰未戌) or the rest of its period.
int branch_stem(int branch, bool early, bool first_half) {
    const int slot = (branch - 1) / 3;
    switch (group_of(branch)) {
    case BranchGroup::single:
        return kSingle[slot].first;
    case BranchGroup::cardinal:
        return early ? kCardinal[slot].first : kCardinal[slot].second;
    case BranchGroup::earth:
        return first_half ? kEarth[slot].first : kEarth[slot].second;
    }
    return 0;
}

/// A branch's stems counted by days: the residual stem and its days, the middle stem (0 for none)
/// and its days; the main stem rules the rest of the month.
struct DayShares {
    int residual, residual_days, middle, middle_days, main;
};
constexpr DayShares kDayShares[13] = {
    {},
    {kRen, 10, 0, 0, kGui},     // 子
    {kGui, 9, kXin, 3, kJi},    // 丑
    {kWu, 7, kBing, 7, kJia},   // 寅
    {kJia, 10, 0, 0, kYi},      // 卯
    {kYi, 9, kGui, 3, kWu},     // 辰
    {kWu, 5, kGeng, 9, kBing},  // 巳
    {kBing, 10, kJi, 9, kDing}, // 午
    {kDing, 9, kYi, 3, kJi},    // 未
    {kWu, 10, kRen, 3, kGeng},  // 申
    {kGeng, 10, 0, 0, kXin},    // 酉
    {kXin, 9, kDing, 3, kWu},   // 戌
    {kWu, 7, kJia, 5, kRen},    // 亥
};

} // namespace

std::string_view hidden_part_name(HiddenPart part) {
    switch (part) {
    case HiddenPart::residual:
        return "余気";
    case HiddenPart::middle:
        return "中気";
    case HiddenPart::main:
        return "本気";
    case HiddenPart::none:
        break;
    }
    return {};
}

DayCountedStem hidden_stem_by_days(int branch, int day) {
    const DayShares& shares = kDayShares[branch];
    if (day <= shares.residual_days) return {shares.residual, HiddenPart::residual};
    if (day <= shares.residual_days + shares.middle_days) return {shares.middle, HiddenPart::middle};
    return {shares.main, HiddenPart::main};
}

std::optional<SeasonStem> season_and_month_hidden(int m, double l) {
    if (m == 2 || m == 3 || (m == 4 && l < 27)) return SeasonStem{"木", (315 <= l && l < 351) ? kJia : kYi};
    if (m == 4) return SeasonStem{"土", kWu};
    if (m == 5 || m == 6 || (m == 7 && l < 117)) return SeasonStem{"火", (45 <= l && l < 81) ? kBing : kDing};
    if (m == 7) return SeasonStem{"土", kJi};
    if (m == 8 || m == 9 || (m == 10 && l < 207))
        return SeasonStem{"金", (135 <= l && l < 171) ? kGeng : kXin};
    if (m == 10) return SeasonStem{"土", kWu};
    if (m == 11 || m == 12 || (m == 1 && l < 297))
        return SeasonStem{"水", (225 <= l && l < 261) ? kRen : kGui};
    if (m == 1) return SeasonStem{"土", kJi};
    return std::nullopt;
}

int year_hidden_stem(int year_branch, double l) {
    const bool early = (315 <= l && l < 360) || (0 <= l && l < 27);      // first 72° of the year
    const bool first_half = (315 <= l && l < 360) || (0 <= l && l < 99); // first 144°
    return branch_stem(year_branch, early, first_half);
}

int day_hidden_stem(int day_branch, double x) {
    return branch_stem(day_branch, x < 4.8, x < 9.6);
}

std::optional<int> hour_hidden_stem(int hour_branch, double x) {
    switch (hour_branch) {
    case 3:
        return kJia;
    case 6:
        return kBing;
    case 9:
        return kGeng;
    case 12:
        return kRen;
    case 1: // 子 spans 23:00–01:00: the first 0.4 hour is 壬
        if (x < 1) return kGui;
        if (23 <= x && x < 23.4) return kRen;
        if (23.4 <= x && x < 24) return kGui;
        return std::nullopt;
    default:
        break;
    }
    // Branch b ends its two hours at 2b − 1; a yang-yin hour gives its first 0.4 hour to the
    // yang stem, an earth hour its first 0.8 hour to the earlier element's yin stem.
    const double end = 2.0 * hour_branch - 1;
    const double split = end - 2 + (group_of(hour_branch) == BranchGroup::cardinal ? 0.4 : 0.8);
    if (x >= end) return std::nullopt;
    return branch_stem(hour_branch, x < split, x < split);
}

int yo_seikoku(int tkan, int day_stem) {
    int d = tkan - day_stem;
    if (d < 0) d += 10;
    return d / 2;
}

int in_seikoku(int tkan, int day_stem) {
    int d = tkan - day_stem;
    if (d < 0) d += 10;
    return ((d + 1) / 2) % 5;
}

int relation_to_day_stem(int tkan, int day_stem) {
    return day_stem % 2 == 1 ? yo_seikoku(tkan, day_stem) : in_seikoku(tkan, day_stem);
}

} // namespace vantora
