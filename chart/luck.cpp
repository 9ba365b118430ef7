#include "chart/luck.hpp"

#include "chart/number_text.hpp"
#include "core/calendar.hpp"
#include "core/integer_ops.hpp"
#include "core/names.hpp"
#include "core/units.hpp"

namespace vantora {

bool luck_direction(int year_parity, Sex sex) {
    return (year_parity == 0 && sex == Sex::male) || (year_parity == 1 && sex == Sex::female);
}

double luck_change_degrees(bool forward, int month_no, double l) {
    double delta = 0;
    if (forward) {
        const int next = month_no + 1 > 12 ? 1 : month_no + 1;
        delta = term_longitude(next, 0) - l;
        if (next == 4) delta += 360; // the month starting at 15° lies across 0°
    } else {
        delta = l - term_longitude(month_no, 0) + 360;
    }
    if (delta >= 360) delta -= 360;
    return delta;
}

void fill_luck_pillars(Chart& chart) {
    ChartTexts& texts = chart.texts;
    const double years = chart.luck_years;
    const double fraction = years - trunc_of(years);
    chart.change_years = static_cast<int>(trunc_of(years));
    chart.change_months = static_cast<int>(trunc_of(fraction * 12));
    chart.change_days = static_cast<int>(trunc_of((fraction * 12 - chart.change_months) * 30));
    std::string& koutai = texts.txtKoutai;
    koutai.clear();
    koutai.reserve(32); // "約99歳11カ月29日" is 23 bytes
    koutai += "約";
    append_general_text(koutai, chart.change_years, "歳");
    append_general_text(koutai, chart.change_months, "カ月");
    append_general_text(koutai, chart.change_days, "日");

    int stem = chart.month_stem, branch = chart.month_branch;
    for (std::size_t i = 0; i < kLuckPillarCount; ++i) {
        chart.luck_stem[i] = stem;
        chart.luck_branch[i] = branch;
        texts.dun_kan[i] = stem_name[static_cast<std::size_t>(stem)];
        texts.dun_shi[i] = branch_name[static_cast<std::size_t>(branch)];
        if (chart.luck_forward) {
            stem = stem == 10 ? 1 : stem + 1;
            branch = branch == 12 ? 1 : branch + 1;
        } else {
            stem = stem == 1 ? 10 : stem - 1;
            branch = branch == 1 ? 12 : branch - 1;
        }
    }

    // The change falls in the month after the birth month when its days overflow the month.
    chart.change_month_no = chart.month_no + (chart.change_days + chart.true_day > 30 ? 1 : 0);
    const bool next_year_of_change = (chart.change_months > 1 && chart.month_no == 1) ||
                                     (chart.change_month_no + chart.change_months > 13);
    const int u = (chart.year_stem + chart.change_years + (next_year_of_change ? 1 : 0)) % 10;
    const int v = (chart.change_months + chart.change_month_no + 1) % 12;
    std::string& koutai_ym = texts.txtKoutaiYM;
    koutai_ym = stem_name[static_cast<std::size_t>(u == 0 ? 10 : u)];
    koutai_ym += "年";
    koutai_ym += branch_name[static_cast<std::size_t>(v == 0 ? 12 : v)];
    koutai_ym += "月";

    // The age rows count one year more when the change passes the year end (no 丑-month clause here).
    const int a = chart.change_years + (chart.change_month_no + chart.change_months > 13 ? 1 : 0);
    const auto set_age = [](std::string& text, double age) {
        text.clear();
        append_general_text(text, age);
    };
    for (std::size_t i = 0; i < texts.sai1.size(); ++i) set_age(texts.sai1[i], a + 10.0 * i);
    for (std::size_t i = 0; i < texts.sai2.size(); ++i) set_age(texts.sai2[i], a - 1 + 10.0 * i);
    if (a == 0) set_age(texts.sai2[0], 0); // no "-1" before the first change
}

int completed_age(double birth_year, double true_month, double true_day_with_time, const LocalDateTime& now,
                  double& jd_present, double& jd_anniversary) {
    jd_anniversary = julian_day(now.year, true_month, true_day_with_time);
    jd_present =
        julian_day(now.year, now.month, now.day + now.hour / kHoursPerDay + now.minute / kMinutesPerDay);
    int age = static_cast<int>(now.year - birth_year);
    if (jd_anniversary - jd_present > 0) age -= 1;
    return age;
}

std::optional<int> mark_current_luck(double jd_present, double jisa, double jBirthS, double luck_years) {
    const double now = jd_present + jisa;
    const double elapsed = now - jBirthS;
    if (elapsed < 0) return std::nullopt;
    const double first_change = luck_years * kLuckYearDays;
    if (elapsed < first_change) return 0;
    if (now >= first_change + jBirthS + kLuckCenturyDays) return std::nullopt;
    for (int j = 1; j <= 10; ++j) {
        if (first_change + jBirthS + (j - 1) * kLuckDecadeDays <= now &&
            now < first_change + jBirthS + j * kLuckDecadeDays) {
            return j;
        }
    }
    return std::nullopt;
}

} // namespace vantora
