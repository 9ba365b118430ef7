// The chart: every value the computation derives from a birth, and the texts that show them.
#pragma once

#include "chart/birth_record.hpp"
#include "chart/chart_rules.hpp"
#include "chart/hidden_stems.hpp"
#include "chart/local_time.hpp"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vantora {

inline constexpr std::size_t kLuckPillarCount =
    11; ///< pillar 0 repeats the month pillar, 1..10 the luck pillars

/// The texts of the chart, one per display control, each exactly as the control shows it.
/// The window, the pop-up copy, the text export and the chart command all read these.
struct ChartTexts {
    std::string txtBirthday; ///< birth-date sentence
    std::string txtAge;      ///< completed years, or "-" before the birth
    std::string txtweek;     ///< weekday of the entered date, e.g. "土曜日"
    std::string txtShin;     ///< true solar time, e.g. "2000年1月1日11時56.7分"
    std::string txtKinjisa;  ///< equation of time, e.g. "-3分17.7秒"
    std::string txtKoutai;   ///< luck-change age, e.g. "約7歳4カ月12日"
    std::string txtKoutaiYM; ///< luck-change year stem and month branch, e.g. "辛年丑月"
    std::string txtKoukei;   ///< the Sun's longitude in degrees
    std::string yKan, yShi, mKan, mShi, dKan, dShi, hKan, hShi; ///< the four pillars
    std::string lbl_yZokan, lbl_mZokan, lbl_dZokan, lbl_hZokan; ///< hidden stems
    std::string lblOu;                                          ///< element in season: 木 火 土 金 水
    std::array<std::string, kLuckPillarCount> dun_kan, dun_shi; ///< luck-pillar stems and branches
    std::array<std::string, 10> sai1;                           ///< start ages of luck pillars 1..10
    std::array<std::string, kLuckPillarCount> sai2;             ///< end ages of luck pillars 0..10
};

/// The chart's values. Julian days are of the local standard clock unless said otherwise.
struct Chart {
    double jBirth = 0;   ///< Julian day of the entered date at 0h
    double jihun = 0;    ///< time of day, days: from the true solar time once computed
    double jisa = 0;     ///< time difference, days (east positive)
    double jBirthS = 0;  ///< jBirth + entered time of day + jisa
    double zg2 = 0;      ///< equation of time, minutes
    double gosa = 0;     ///< light time plus secular correction, days
    double birth_nl = 0; ///< the Sun's longitude at the birth, degrees, 0 ≤ L < 360

    bool hour_unknown = false; ///< the hour was not given: the hour pillar shows "□"

    /// Birth date and time in true solar time; the minute keeps its fraction (0 ≤ minute < 60).
    double true_year = 0, true_month = 0, true_day = 0, true_hour = 0, true_minute = 0;

    std::int16_t month_no = 0; ///< solar month 1..12: 1 starts at 285° (丑), 2 at 315° (寅) … 12 at 255° (子)
    double pillar_year = 0;       ///< the year whose spring start (315°) opens the birth's solar year
    std::int16_t year_parity = 0; ///< pillar_year mod 2: 0 yang year, 1 yin year

    int year_stem = 0, year_branch = 0, month_stem = 0, month_branch = 0; ///< stems 1..10, branches 1..12
    int day_stem = 0, day_branch = 0;
    std::int16_t hour_stem = 0, hour_branch = 0; ///< for an unknown hour, those of noon
    int year_hidden = 0, month_hidden = 0, day_hidden = 0, hour_hidden = 0; ///< hidden stems 1..10
    /// The parts of the year, month, day and hour hidden stems when they were counted by days.
    std::array<HiddenPart, 4> hidden_parts{};

    bool luck_forward = false; ///< luck pillars step forward through the sexagenary cycle
    double luck_years = 0;     ///< age of the first luck change, years with fraction
    int change_years = 0, change_months = 0, change_days = 0; ///< that age in years, 30-day months, days
    int change_month_no = 0;
    std::array<int, kLuckPillarCount> luck_stem{}, luck_branch{};

    double jd_present = 0;     ///< the present, Julian day of the local clock
    double jd_anniversary = 0; ///< this year's birthday at the birth time
    int age = 0;               ///< completed years (negative before the birth; shown as "-")
    int weekday = 0;           ///< 1 Sunday … 7 Saturday, of the entered date

    /// The luck pillar (0..10) the person stands in at jd_present; none before the birth or
    /// more than a hundred years after the first change.
    std::optional<int> current_luck;

    ChartRules rules;                ///< the rules the chart was computed with
    bool summer_time_notice = false; ///< the clock time lies in a summer-time period, read as standard time

    ChartTexts texts;
};

} // namespace vantora
