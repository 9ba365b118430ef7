#include "chart/compute_chart.hpp"

#include "chart/hidden_stems.hpp"
#include "chart/luck.hpp"
#include "chart/number_text.hpp"
#include "chart/pillars.hpp"
#include "chart/solar_terms.hpp"
#include "chart/summer_time.hpp"
#include "core/calendar.hpp"
#include "core/equation_of_time.hpp"
#include "core/integer_ops.hpp"
#include "core/names.hpp"
#include "core/solar.hpp"
#include "core/units.hpp"

#include <algorithm>
#include <cmath>

namespace vantora {
namespace {

/// Light time of one astronomical unit in seconds: 1495.9787 / 2.99792458.
constexpr double kAuLightSecondsNumerator = 1495.9787;
constexpr double kAuLightSecondsDenominator = 2.99792458;
constexpr double kSecularEpochYear = 1885;
constexpr double kSecularDaysPerYear = 1.05337078651e-05;

std::string_view stem_text(int stem) {
    return stem_name[static_cast<std::size_t>(stem)];
}
std::string_view branch_text(int branch) {
    return branch_name[static_cast<std::size_t>(branch)];
}

/// The largest time difference the clock correction is asked to carry, minutes: two days.
constexpr double kMaxOffsetMinutes = 2 * kMinutesPerDay;

bool whole_within(double value, double low, double high) {
    return value >= low && value <= high && value == std::trunc(value);
}

/// The first field of the record outside its range, as a ChartError; nullopt when all are in
/// range. NaN fails every test.
std::optional<ChartError> check_record(const BirthRecord& r) {
    const auto out_of_range = [](const char* field, double value) {
        return ChartError{ChartError::Cause::birth, std::string("出生データの") + field + "（" +
                                                        general_text(value) + "）が範囲外です"};
    };
    if (!whole_within(r.birth_year, kFirstBirthYear, kLastBirthYear)) return out_of_range("年", r.birth_year);
    if (!whole_within(r.birth_month, 1, 12)) return out_of_range("月", r.birth_month);
    MonthDays month_days;
    set_month_days(month_days, r.birth_year);
    const auto days = month_days[static_cast<int>(r.birth_month)];
    if (!whole_within(r.birth_day, 1, days)) return out_of_range("日", r.birth_day);
    if (!whole_within(r.birth_hour, 0, 23)) return out_of_range("時", r.birth_hour);
    if (!whole_within(r.birth_minute, 0, 59)) return out_of_range("分", r.birth_minute);
    const double offset = std::abs(r.offset.minutes) + std::abs(r.offset.seconds) / 60;
    if (!(offset <= kMaxOffsetMinutes)) return out_of_range("時差（分）", r.offset.minutes);
    return std::nullopt;
}

/// The largest planetary perturbation of the Sun's longitude a chart accepts, degrees. The
/// shipped terms sum to at most 41″ (0.012°); tables that load give at most 3.3°. Beyond this the tables did
/// not come from the term files, and a longitude taken from them would be noise (a sum of 1e200″ reduces to
/// an exact 0°).
constexpr double kMaxPlanetaryLongitude = 5;

ChartError terms_error(const char* what, double value, const char* unit) {
    return ChartError{ChartError::Cause::terms,
                      std::string("項の表（planet.txt, latitude.txt）から求めた太陽の") + what + "（" +
                          general_text(value) + unit + "）はありえない値です"};
}

/// The true solar time text; a minute that rounds up to "60.0" shows "59.9", so the shown time
/// never passes the hour the pillars were taken from.
std::string true_solar_time_text(const Chart& c, bool hour_unknown) {
    std::string text;
    text.reserve(40); // "2099年12月31日23時59.9分" is 29 bytes
    append_general_text(text, c.true_year, "年");
    append_general_text(text, c.true_month, "月");
    append_general_text(text, c.true_day, "日");
    if (hour_unknown) {
        text += "確定不能";
        return text;
    }
    append_general_text(text, c.true_hour, "時");
    const std::string minute = one_decimal_text(c.true_minute);
    text += minute == "60.0" ? std::string_view("59.9") : std::string_view(minute);
    text += "分";
    return text;
}

} // namespace

EquationOfTime calc_eot_minutes(double year, double month, double day) {
    const double t = julian_century(julian_day(year, month, day));
    const double eps = obliquity(t), l0 = mean_longitude(t), perigee = perigee_longitude(t),
                 e = eccentricity(t);
    EquationOfTime eot;
    eot.zg2 = radians_to_minutes_of_time(equation_of_time(eps, l0, perigee, l0 - perigee, e));
    const double magnitude = eot.zg2 >= 0 ? eot.zg2 : -eot.zg2;
    double minutes = trunc_of(magnitude);
    std::string seconds = one_decimal_text((magnitude - minutes) * 60);
    if (seconds == "60.0") { // e.g. 15 min 59.97 s is shown as 16分0.0秒
        minutes += 1;
        seconds = one_decimal_text(0);
    }
    eot.eot_minutes_text = eot.zg2 >= 0 ? "+" : "-";
    append_general_text(eot.eot_minutes_text, minutes);
    eot.eot_seconds_text = std::move(seconds);
    return eot;
}

double light_time_days(double sun_distance) {
    return sun_distance * kAuLightSecondsNumerator / kAuLightSecondsDenominator / kSecondsPerHour /
           kHoursPerDay;
}

double calc_gosa(double sun_distance, double birth_year) {
    return light_time_days(sun_distance) + (birth_year - kSecularEpochYear) * kSecularDaysPerYear;
}

namespace {

/// The record with its clock time read as standard time: with summer time on, a clock time inside
/// a summer-time period moves one hour back, and one that never was or was twice is an error. With
/// summer time off the record stays, and the chart notes a clock time inside a period. An unknown
/// hour stays noon of standard time.
std::optional<ChartError> read_as_standard_time(BirthRecord& record, Chart& c, const ChartRules& rules) {
    if (record.hour_unknown) return std::nullopt;
    const SummerClock clock =
        summer_clock(static_cast<int>(record.birth_year), static_cast<int>(record.birth_month),
                     static_cast<int>(record.birth_day), static_cast<int>(record.birth_hour));
    if (clock == SummerClock::standard) return std::nullopt;
    if (!rules.summer_time) {
        c.summer_time_notice = true;
        return std::nullopt;
    }
    std::string when;
    append_general_text(when, record.birth_year, "年");
    append_general_text(when, record.birth_month, "月");
    append_general_text(when, record.birth_day, "日");
    append_general_text(when, record.birth_hour, "時台");
    if (clock == SummerClock::skipped)
        return ChartError{ChartError::Cause::birth,
                          when + "は夏時刻の始まりで時計が飛ばした、存在しない時刻です"};
    if (clock == SummerClock::repeated) {
        return ChartError{ChartError::Cause::birth,
                          when + "は夏時刻の終わりで二度あった時刻です（夏時刻か標準時か決められません）"};
    }
    MonthDays month_days;
    set_month_days(month_days, record.birth_year);
    const ClockTime standard = apply_correction(
        {record.birth_year, record.birth_month, record.birth_day, record.birth_hour, record.birth_minute},
        -60, month_days);
    record.birth_year = standard.year;
    record.birth_month = standard.month;
    record.birth_day = standard.day;
    record.birth_hour = standard.hour;
    return std::nullopt;
}

/// The Sun's longitude at the true solar time read as standard time, light time and the secular
/// term removed by a second solar position: the default term-instant rule.
std::optional<ChartError> solar_time_longitude(Chart& c, const BirthRecord& record,
                                               const TermTables& tables) {
    double ut_day = c.true_day + c.jihun - kStandardClockAheadOfUtDays;
    // The first position is needed only for its distance, the second only for its longitude.
    SunPosition first = calc_sun_position(c.true_year, c.true_month, ut_day, tables, SunResults::distance);
    if (!(first.sun_distance >= kMinSunDistance && first.sun_distance <= kMaxSunDistance))
        return terms_error("距離", first.sun_distance, "AU");
    c.gosa = calc_gosa(first.sun_distance, record.birth_year);
    // A distance from the vector series moves the light time (about 0.006 days) by at most
    // kVectorDistanceDifference of itself, plus one last place for each of calc_gosa's roundings:
    // far below ut_day's last place, unless the subtraction is close to a rounding boundary. Then
    // the distance is taken from the scalar series, so that the instant, and with it the
    // longitude, are always those of the scalar series.
    const double gosa_slack = (kVectorDistanceDifference + 8 * 0x1p-52) * std::abs(c.gosa);
    if (first.maths == SeriesMaths::vector && !sum_rounds_alike(ut_day, -c.gosa, gosa_slack)) {
        first = calc_sun_position(c.true_year, c.true_month, ut_day, tables, SunResults::distance,
                                  SeriesMaths::scalar);
        c.gosa = calc_gosa(first.sun_distance, record.birth_year);
    }
    ut_day -= c.gosa;
    const SunPosition second =
        calc_sun_position(c.true_year, c.true_month, ut_day, tables, SunResults::longitude);
    if (!(std::abs(second.lon_part[2]) <= kMaxPlanetaryLongitude))
        return terms_error("黄経の惑星摂動", second.lon_part[2], "度");
    c.birth_nl = second.sun_longitude;
    return std::nullopt;
}

/// The instants, as Julian days of the clock the term-instant rule reads, of the birth and of the
/// terms that open its solar month and the next.
struct TermSpan {
    double birth = 0, month_start = 0, next_month_start = 0;
};

std::optional<TermSpan> term_span(const Chart& c, double jd_standard_clock, const TermTables& tables) {
    TermSpan span;
    span.birth = c.rules.clock_term_instant
                     ? jd_standard_clock
                     : julian_day(c.true_year, c.true_month,
                                  c.true_day + c.true_hour / kHoursPerDay + c.true_minute / kMinutesPerDay);
    const double start = term_longitude(c.month_no, 0), next = term_longitude(c.month_no % 12 + 1, 0);
    const auto degrees_from = [](double from, double to) { return std::fmod(to - from + 360, 360.0); };
    const auto month_start = term_instant(
        start, span.birth - degrees_from(start, c.birth_nl) / kMeanMotionDegreesPerDay, tables, c.rules);
    const auto next_month_start = term_instant(
        next, span.birth + degrees_from(c.birth_nl, next) / kMeanMotionDegreesPerDay, tables, c.rules);
    if (!month_start || !next_month_start) return std::nullopt;
    span.month_start = *month_start;
    span.next_month_start = *next_month_start;
    return span;
}

/// Fills the chart of a record that passed check_record; the error when the tables give an
/// impossible Sun or the clock time never was.
std::optional<ChartError> fill_chart(Chart& c, const BirthRecord& entered, const LocalDateTime& now,
                                     const TermTables& tables, const ChartRules& rules) {
    ChartTexts& texts = c.texts;
    texts.txtBirthday = birthday_data(entered);
    c.rules = rules;
    BirthRecord record = entered;
    if (auto error = read_as_standard_time(record, c, rules)) return error;

    // Entered date and clock time; noon stands in for an unknown hour.
    c.jBirth = julian_day(record.birth_year, record.birth_month, record.birth_day);
    c.true_year = record.birth_year;
    c.true_month = record.birth_month;
    c.true_day = record.birth_day;
    c.hour_unknown = record.hour_unknown;
    c.true_hour = record.hour_unknown ? kUnknownHour : record.birth_hour;
    c.true_minute = record.hour_unknown || record.minute_unknown ? 0 : record.birth_minute;
    c.jihun = c.true_hour / kHoursPerDay + c.true_minute / kMinutesPerDay;
    const double sign = record.offset.negative ? -1 : 1;
    c.jisa = record.offset.minutes / kMinutesPerDay + sign * record.offset.seconds / kSecondsPerDay;
    c.jBirthS = c.jBirth + c.jihun + c.jisa;

    // Age and weekday of the entered date.
    c.age = completed_age(record.birth_year, c.true_month, c.true_day + c.jihun, now, c.jd_present,
                          c.jd_anniversary);
    texts.txtAge = c.age < 0 ? "-" : general_text(c.age);
    c.weekday = weekday_no(static_cast<std::int32_t>(nearest(c.jBirth - 0.5)));
    texts.txtweek = weekday_name[static_cast<std::size_t>(c.weekday - 1)];
    texts.txtweek += "曜日";

    // Equation of time at the entered clock time plus the time difference.
    const EquationOfTime eot = calc_eot_minutes(c.true_year, c.true_month, c.true_day + c.jihun + c.jisa);
    c.zg2 = eot.zg2;
    texts.txtKinjisa = eot.text();

    // True solar time.
    const double jd_standard_clock = c.jBirth + c.jihun;
    MonthDays month_days;
    set_month_days(month_days, record.birth_year);
    const ClockTime corrected =
        apply_correction({c.true_year, c.true_month, c.true_day, c.true_hour, c.true_minute},
                         c.jisa * kMinutesPerDay + c.zg2, month_days);
    c.true_year = corrected.year;
    c.true_month = corrected.month;
    c.true_day = corrected.day;
    c.true_hour = corrected.hour;
    c.true_minute = corrected.minute;
    texts.txtShin = true_solar_time_text(c, record.hour_unknown);

    // The Sun's longitude at the birth, light time removed by a second solar position.
    c.jihun = c.true_hour / kHoursPerDay + c.true_minute / kMinutesPerDay;
    if (rules.clock_term_instant) {
        const ClockSun sun = sun_at_clock(jd_standard_clock, rules, tables);
        if (!(sun.distance >= kMinSunDistance && sun.distance <= kMaxSunDistance))
            return terms_error("距離", sun.distance, "AU");
        if (!(std::abs(sun.planetary) <= kMaxPlanetaryLongitude))
            return terms_error("黄経の惑星摂動", sun.planetary, "度");
        c.gosa = light_time_days(sun.distance);
        c.birth_nl = sun.longitude;
    } else if (auto error = solar_time_longitude(c, record, tables)) {
        return error;
    }
    if (!(c.birth_nl >= 0 && c.birth_nl < 360)) return terms_error("黄経", c.birth_nl, "度");
    texts.txtKoukei = general_text(c.birth_nl);

    // Solar month, pillar year and the four pillars. A longitude outside every solar month of
    // the civil month (e.g. 270° in November) leaves no month pillar. With the clock rule the
    // civil month is that of the standard clock, whose instant the longitude was taken at.
    const SolarMonth solar = rules.clock_term_instant
                                 ? solar_month(c.birth_nl, record.birth_month, record.birth_year)
                                 : solar_month(c.birth_nl, c.true_month, c.true_year);
    if (solar.month_no < 1 || solar.month_no > 12) return terms_error("黄経", c.birth_nl, "度");
    c.month_no = solar.month_no;
    c.pillar_year = solar.pillar_year;
    c.year_parity = static_cast<std::int16_t>(mod(c.pillar_year, 2));
    const int year_n = year_cycle(c.pillar_year);
    c.year_stem = stem_of(year_n);
    c.year_branch = branch_of(year_n);
    const int month_n = month_cycle(c.pillar_year, c.month_no);
    c.month_stem = stem_of(month_n);
    c.month_branch = branch_of(month_n);
    const double true_date = julian_day(c.true_year, c.true_month, c.true_day);
    const int day_n = day_cycle(reduce_day_count(true_date));
    const int hour_n = hour_cycle(c.true_hour, stem_of(day_n)); // hour 23 takes the next day's 子 hour
    // With the day changing at 23:00, the 子 hour's first half belongs to the next day as well.
    const bool next_day = rules.day_change_at_23 && c.true_hour == 23;
    const int pillar_day_n = next_day ? day_cycle(reduce_day_count(true_date + 1)) : day_n;
    c.day_stem = stem_of(pillar_day_n);
    c.day_branch = branch_of(pillar_day_n);
    c.hour_stem = static_cast<std::int16_t>(stem_of(hour_n));
    c.hour_branch = static_cast<std::int16_t>(branch_of(hour_n));
    texts.yKan = stem_text(c.year_stem);
    texts.yShi = branch_text(c.year_branch);
    texts.mKan = stem_text(c.month_stem);
    texts.mShi = branch_text(c.month_branch);
    texts.dKan = stem_text(c.day_stem);
    texts.dShi = branch_text(c.day_branch);
    texts.hKan = record.hour_unknown ? stem_text(0) : stem_text(c.hour_stem);
    texts.hShi = record.hour_unknown ? branch_text(0) : branch_text(c.hour_branch);

    // Luck pillars: three days, or three degrees, to a year.
    c.luck_forward = luck_direction(c.year_parity, record.sex);
    const bool needs_terms = rules.luck_start_from_days || rules.hidden_stems_from_days;
    const std::optional<TermSpan> found = needs_terms ? term_span(c, jd_standard_clock, tables) : TermSpan{};
    if (!found) return terms_error("黄経", c.birth_nl, "度");
    const TermSpan& span = *found;
    if (rules.luck_start_from_days) {
        const double days =
            c.luck_forward ? span.next_month_start - span.birth : span.birth - span.month_start;
        c.luck_years = std::max(days, 0.0) / 3;
    } else {
        c.luck_years = luck_change_degrees(c.luck_forward, c.month_no, c.birth_nl) / 3;
    }
    fill_luck_pillars(c);

    // Element in season and hidden stems. A month and longitude that disagree, or a clock outside
    // its hour, leave the placeholder (no real birth gives either).
    const double x = c.true_hour + c.true_minute / 60;
    const auto season = season_and_month_hidden(c.month_no, c.birth_nl);
    if (season) {
        c.month_hidden = season->stem;
        texts.lblOu = season->element;
    } else {
        texts.lblOu = stem_text(0);
    }
    if (rules.hidden_stems_from_days) {
        // Day 1 is the day of the term instant itself: whole days elapsed plus one.
        const int day = static_cast<int>(std::floor(std::max(span.birth - span.month_start, 0.0))) + 1;
        const int branches[4] = {c.year_branch, c.month_branch, c.day_branch, c.hour_branch};
        int* stems[4] = {&c.year_hidden, &c.month_hidden, &c.day_hidden, &c.hour_hidden};
        for (std::size_t k = 0; k < 4; ++k) {
            const DayCountedStem counted = hidden_stem_by_days(branches[k], day);
            *stems[k] = counted.stem;
            c.hidden_parts[k] = counted.part;
        }
    } else {
        c.year_hidden = year_hidden_stem(c.year_branch, c.birth_nl);
        // A 23 o'clock birth whose day has already changed stands at the start of its day.
        c.day_hidden = day_hidden_stem(c.day_branch, next_day ? x - kHoursPerDay : x);
        c.hour_hidden = hour_hidden_stem(c.hour_branch, x).value_or(0);
    }
    texts.lbl_yZokan = stem_text(c.year_hidden);
    texts.lbl_mZokan = stem_text(c.month_hidden);
    texts.lbl_dZokan = stem_text(c.day_hidden);
    texts.lbl_hZokan = record.hour_unknown ? stem_text(0) : stem_text(c.hour_hidden);

    c.current_luck = mark_current_luck(c.jd_present, c.jisa, c.jBirthS, c.luck_years);
    return std::nullopt;
}

} // namespace

ChartResult compute_chart(const BirthRecord& record, const LocalDateTime& now, const TermTables& tables,
                          const ChartRules& rules) {
    // The chart is built in place: its sixty-odd texts are not moved into the result afterwards.
    ChartResult result(std::in_place_type<Chart>);
    std::optional<ChartError> error = check_record(record);
    if (!error) error = fill_chart(std::get<Chart>(result), record, now, tables, rules);
    if (error) result = *std::move(error);
    return result;
}

} // namespace vantora
