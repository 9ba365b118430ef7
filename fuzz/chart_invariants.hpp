// Invariants every computed chart must hold, whatever birth the windows or the chart command
// accept, and every pair of term tables the reader loads. Shared by the fuzz targets, the sweep
// of every date and the regression tests, so that each checks the same ranges.
#pragma once

#include "chart/birth_record.hpp"
#include "chart/chart.hpp"
#include "chart/compute_chart.hpp"
#include "chart/hidden_stems.hpp"
#include "chart/reversal.hpp"
#include "core/calendar.hpp"
#include "core/names.hpp"
#include "core/solar.hpp"
#include "core/tables.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

namespace vantora::invariants {

inline bool stem_ok(int s) {
    return s >= 1 && s <= 10;
}
inline bool branch_ok(int b) {
    return b >= 1 && b <= 12;
}

/// Solar month 1..12 whose 30° span [285 + 30 (m − 1), +30) mod 360 holds the longitude L.
inline int month_of_longitude(double longitude) {
    const double from_285 = std::fmod(longitude - 285.0 + 360.0, 360.0);
    return static_cast<int>(from_285 / 30.0) + 1;
}

/// A caption that must be one of the relation characters 比 食 財 官 印.
inline bool is_relation_caption(std::string_view text) {
    return std::find(relation_name.begin(), relation_name.end(), text) != relation_name.end();
}

/// Every broken invariant of `c`, computed from `record`, as one line each; empty when all hold.
inline std::string chart_failures(const Chart& c, const BirthRecord& record) {
    std::string failures;
    const auto fail = [&failures](const std::string& what) { failures += what + "\n"; };
// The message is built only when the condition fails: the sweep checks millions of charts.
#define VANTORA_CHECK(ok, what)                                                                              \
    do {                                                                                                     \
        if (!(ok)) fail(what);                                                                               \
    } while (false)

    const std::pair<const char*, double> numbers[] = {{"jBirth", c.jBirth},
                                                      {"jihun", c.jihun},
                                                      {"jisa", c.jisa},
                                                      {"jBirthS", c.jBirthS},
                                                      {"zg2", c.zg2},
                                                      {"gosa", c.gosa},
                                                      {"birth_nl", c.birth_nl},
                                                      {"true_year", c.true_year},
                                                      {"true_month", c.true_month},
                                                      {"true_day", c.true_day},
                                                      {"true_hour", c.true_hour},
                                                      {"true_minute", c.true_minute},
                                                      {"pillar_year", c.pillar_year},
                                                      {"luck_years", c.luck_years},
                                                      {"jd_present", c.jd_present},
                                                      {"jd_anniversary", c.jd_anniversary}};
    for (const auto& [name, value] : numbers) {
        VANTORA_CHECK(std::isfinite(value), std::string(name) + " is not finite: " + std::to_string(value));
    }

    const std::pair<const char*, int> stems[] = {
        {"year_stem", c.year_stem},   {"month_stem", c.month_stem},   {"day_stem", c.day_stem},
        {"hour_stem", c.hour_stem},   {"year_hidden", c.year_hidden}, {"month_hidden", c.month_hidden},
        {"day_hidden", c.day_hidden}, {"hour_hidden", c.hour_hidden}};
    for (const auto& [name, value] : stems)
        VANTORA_CHECK(stem_ok(value), std::string(name) + " = " + std::to_string(value));
    const std::pair<const char*, int> branches[] = {{"year_branch", c.year_branch},
                                                    {"month_branch", c.month_branch},
                                                    {"day_branch", c.day_branch},
                                                    {"hour_branch", c.hour_branch}};
    for (const auto& [name, value] : branches) {
        VANTORA_CHECK(branch_ok(value), std::string(name) + " = " + std::to_string(value));
    }
    for (std::size_t i = 0; i < kLuckPillarCount; ++i) {
        VANTORA_CHECK(stem_ok(c.luck_stem[i]) && branch_ok(c.luck_branch[i]),
                      "luck pillar " + std::to_string(i));
        VANTORA_CHECK(c.texts.dun_kan[i] == stem_name[static_cast<std::size_t>(c.luck_stem[i] % 11)] &&
                          c.texts.dun_shi[i] == branch_name[static_cast<std::size_t>(c.luck_branch[i] % 13)],
                      "dun_kan/dun_shi " + std::to_string(i) + " do not show the luck pillar");
    }
    // Pillar 0 repeats the month pillar; each next pillar is one sexagenary step on, forward for a
    // yang year and a male or a yin year and a female, backward otherwise.
    VANTORA_CHECK(c.luck_stem[0] == c.month_stem && c.luck_branch[0] == c.month_branch,
                  "luck pillar 0 is not the month pillar");
    VANTORA_CHECK(c.luck_forward == ((c.year_parity == 0) == (record.sex == Sex::male)),
                  "luck direction does not follow year parity and sex");
    for (std::size_t i = 1; i < kLuckPillarCount; ++i) {
        const int step = c.luck_forward ? 1 : -1;
        VANTORA_CHECK((c.luck_stem[i - 1] - 1 + step + 10) % 10 + 1 == c.luck_stem[i] &&
                          (c.luck_branch[i - 1] - 1 + step + 12) % 12 + 1 == c.luck_branch[i],
                      "luck pillar " + std::to_string(i) + " is not one step from the one before");
    }
    // The stem and branch of one pillar share the parity of their sexagenary number.
    VANTORA_CHECK(c.year_stem % 2 == c.year_branch % 2, "year pillar stem and branch parities differ");
    VANTORA_CHECK(c.month_stem % 2 == c.month_branch % 2, "month pillar stem and branch parities differ");
    VANTORA_CHECK(c.day_stem % 2 == c.day_branch % 2, "day pillar stem and branch parities differ");
    VANTORA_CHECK(c.hour_stem % 2 == c.hour_branch % 2, "hour pillar stem and branch parities differ");

    // Ten-god relations of every stem, and the reversed view built from them.
    for (const int s : {c.year_stem, c.month_stem, static_cast<int>(c.hour_stem), c.year_hidden,
                        c.month_hidden, c.day_hidden, c.hour_hidden}) {
        if (!stem_ok(s) || !stem_ok(c.day_stem)) continue;
        const int relation = relation_to_day_stem(s, c.day_stem);
        VANTORA_CHECK(relation >= 0 && relation <= 4, "relation index " + std::to_string(relation));
    }
    if (stem_ok(c.day_stem)) {
        const ReversedView r =
            reverse_chart({c.year_stem, c.month_stem, c.day_stem, c.hour_stem, c.year_hidden, c.month_hidden,
                           c.day_hidden, c.hour_hidden, !record.hour_unknown});
        VANTORA_CHECK(r.reversal_case >= 0 && r.reversal_case <= 2,
                      "reversal case " + std::to_string(r.reversal_case));
        VANTORA_CHECK(stem_ok(r.year_hidden) && stem_ok(r.month_hidden),
                      "reversed hidden stems out of range");
        for (const std::string* caption :
             {&r.lbl_ySeikoku, &r.lbl_mSeikoku, &r.lbl_yzSeikoku, &r.lbl_dzSeikoku, &r.lblOu}) {
            VANTORA_CHECK(is_relation_caption(*caption),
                          "reversed caption \"" + *caption + "\" is not a relation");
        }
        for (const std::string* caption : {&r.lbl_hSeikoku, &r.lbl_hzSeikoku}) {
            VANTORA_CHECK(record.hour_unknown ? caption->empty() || *caption == stem_name[0]
                                              : is_relation_caption(*caption),
                          "reversed hour caption \"" + *caption + "\"");
        }
    }

    // The Sun's longitude and the solar month it falls in.
    VANTORA_CHECK(c.birth_nl >= 0 && c.birth_nl < 360,
                  "birth_nl outside [0, 360): " + std::to_string(c.birth_nl));
    VANTORA_CHECK(c.month_no >= 1 && c.month_no <= 12, "month_no = " + std::to_string(c.month_no));
    if (std::isfinite(c.birth_nl) && c.birth_nl >= 0 && c.birth_nl < 360) {
        VANTORA_CHECK(month_of_longitude(c.birth_nl) == c.month_no, "month_no " + std::to_string(c.month_no) +
                                                                        " does not hold longitude " +
                                                                        std::to_string(c.birth_nl));
    }
    VANTORA_CHECK(c.pillar_year == c.true_year || c.pillar_year == c.true_year - 1,
                  "pillar_year is not true_year or one before");

    // The true solar clock.
    VANTORA_CHECK(c.true_minute >= 0 && c.true_minute < 60, "true_minute = " + std::to_string(c.true_minute));
    VANTORA_CHECK(c.true_hour >= 0 && c.true_hour <= 23 && c.true_hour == std::trunc(c.true_hour),
                  "true_hour = " + std::to_string(c.true_hour));
    VANTORA_CHECK(c.true_month >= 1 && c.true_month <= 12 && c.true_month == std::trunc(c.true_month),
                  "true_month = " + std::to_string(c.true_month));
    if (c.true_month >= 1 && c.true_month <= 12) {
        MonthDays days;
        set_month_days(days, c.true_year);
        VANTORA_CHECK(c.true_day >= 1 && c.true_day <= days[static_cast<int>(c.true_month)] &&
                          c.true_day == std::trunc(c.true_day),
                      "true_day = " + std::to_string(c.true_day));
    }
    VANTORA_CHECK(std::abs(c.true_year - record.birth_year) <= 1, "true_year moved more than a year");

    // Texts that would show an impossible clock or equation of time.
    for (const std::string* text : {&c.texts.txtShin, &c.texts.txtKinjisa, &c.texts.txtKoutai}) {
        VANTORA_CHECK(text->find("60.0分") == std::string::npos && text->find("60.0秒") == std::string::npos,
                      "text shows 60.0: " + *text);
    }

    // The luck change: below 30° of longitude, so below 10 years; months of 30 days.
    VANTORA_CHECK(c.luck_years >= 0 && c.luck_years <= 10, "luck_years = " + std::to_string(c.luck_years));
    VANTORA_CHECK(c.change_years >= 0 && c.change_years <= 10,
                  "change_years = " + std::to_string(c.change_years));
    VANTORA_CHECK(c.change_months >= 0 && c.change_months <= 11,
                  "change_months = " + std::to_string(c.change_months));
    VANTORA_CHECK(c.change_days >= 0 && c.change_days <= 29,
                  "change_days = " + std::to_string(c.change_days));
    VANTORA_CHECK(c.weekday >= 1 && c.weekday <= 7, "weekday = " + std::to_string(c.weekday));
    if (c.current_luck) {
        VANTORA_CHECK(*c.current_luck >= 0 && *c.current_luck <= 10,
                      "current_luck = " + std::to_string(*c.current_luck));
    }
#undef VANTORA_CHECK
    return failures;
}

/// Every broken invariant of term tables the reader loaded, one line each; empty when all hold.
/// Within the reader's bounds the Sun must come out finite and plausible, and the whole charts of
/// the first and last minute of the date range, an hour after the spring start of 2000 (year
/// and month pillars change) and the March equinox (the longitude passes 0°) must be computed
/// and hold every invariant of chart_failures. A body number outside 1..6 would index past the
/// six mean anomalies (AddressSanitizer reports it).
inline std::string table_failures(const TermTables& tables) {
    std::string failures;
    for (const auto& term : tables.planet_terms) {
        if (term.p < 1 || term.p > 6) failures += "planet body " + std::to_string(term.p) + "\n";
    }
    for (const auto& term : tables.latitude_terms) {
        if (term.p < 1 || term.p > 6) failures += "latitude body " + std::to_string(term.p) + "\n";
    }
    if (!failures.empty()) return failures;

    const SunPosition sun = calc_sun_position(2000, 3, 20.3125, tables);
    if (!(sun.sun_longitude >= 0 && sun.sun_longitude < 360))
        failures += "longitude " + std::to_string(sun.sun_longitude) + "\n";
    if (!(sun.sun_distance >= kMinSunDistance && sun.sun_distance <= kMaxSunDistance))
        failures += "distance " + std::to_string(sun.sun_distance) + "\n";
    if (!(std::abs(sun.sun_latitude) < 1)) failures += "latitude " + std::to_string(sun.sun_latitude) + "\n";

    const auto birth = [](double year, double month, double day, double hour, double minute, Sex sex) {
        BirthRecord r;
        r.birth_year = year, r.birth_month = month, r.birth_day = day;
        r.birth_hour = hour, r.birth_minute = minute, r.sex = sex;
        return r;
    };
    for (const BirthRecord& record :
         {birth(1500, 1, 1, 0, 0, Sex::male), birth(2099, 12, 31, 23, 59, Sex::female),
          birth(2000, 2, 4, 21, 0, Sex::male), birth(2000, 3, 20, 16, 35, Sex::female)}) {
        const ChartResult computed = compute_chart(record, {2026, 12, 8, 10, 0, 0}, tables);
        if (const auto* error = std::get_if<ChartError>(&computed)) {
            failures += "no chart: " + error->message + "\n";
        } else {
            failures += chart_failures(std::get<Chart>(computed), record);
        }
    }
    return failures;
}

} // namespace vantora::invariants
