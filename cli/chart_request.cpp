#include "cli/chart_request.hpp"

#include "chart/details.hpp"
#include "chart/export_text.hpp"
#include "chart/reversal.hpp"
#include "chart/shown_chart.hpp"
#include "core/calendar.hpp"
#include "core/names.hpp"

#include <charconv>
#include <span>

namespace vantora::cli {
namespace {

constexpr int kFirstYear = 1500, kLastYear = 2099;

RequestError out_of_range(std::string_view field, std::string_view range, std::string_view text) {
    return {std::string(field) + ": " + std::string(range) + "の範囲外です（" + std::string(text) + "）"};
}

/// A whole number written as an optional "-" and decimal digits.
std::optional<int> whole_number(std::string_view text) {
    const std::size_t digits_from = !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() == digits_from || text.size() > 9) return std::nullopt;
    for (std::size_t k = digits_from; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return std::nullopt;
    }
    int value = 0;
    std::from_chars(text.data() + digits_from, text.data() + text.size(), value);
    return digits_from ? -value : value;
}

std::variant<int, RequestError> field_in_range(std::string_view field, std::string_view text, int low,
                                               int high) {
    const auto value = whole_number(text);
    if (!value) return RequestError{std::string(field) + ": 整数ではありません（" + std::string(text) + "）"};
    if (*value < low || *value > high) {
        return out_of_range(field, std::to_string(low) + "〜" + std::to_string(high), text);
    }
    return *value;
}

std::size_t utf8_length(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

/// "YYYY-MM-DDTHH:MM" with optional ":SS" (a blank may stand for the T).
std::optional<LocalDateTime> parse_local_date_time(std::string_view text) {
    LocalDateTime t;
    const auto number = [&text](std::size_t at, std::size_t length, int& out) {
        if (at + length > text.size()) return false;
        const auto part = text.substr(at, length);
        for (const char c : part) {
            if (c < '0' || c > '9') return false;
        }
        std::from_chars(part.data(), part.data() + part.size(), out);
        return true;
    };
    if (text.size() != 16 && text.size() != 19) return std::nullopt;
    if (text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != ' ') || text[13] != ':')
        return std::nullopt;
    if (!number(0, 4, t.year) || !number(5, 2, t.month) || !number(8, 2, t.day) || !number(11, 2, t.hour) ||
        !number(14, 2, t.minute)) {
        return std::nullopt;
    }
    if (text.size() == 19 && (text[16] != ':' || !number(17, 2, t.second))) return std::nullopt;
    if (t.month < 1 || t.month > 12 || t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    MonthDays days;
    set_month_days(days, t.year);
    if (t.day < 1 || t.day > days[t.month]) return std::nullopt;
    return t;
}

/// The text of a JSON value that stands for a number or "?": integers as decimals, strings as they are.
std::optional<std::string> json_text(const nlohmann::json& value) {
    if (value.is_string()) return value.get<std::string>();
    // Unsigned first: a value above 2^63 read as long long would wrap to a negative number.
    if (value.is_number_unsigned()) return std::to_string(value.get<unsigned long long>());
    if (value.is_number_integer()) return std::to_string(value.get<long long>());
    if (value.is_number_float()) {
        const double x = value.get<double>();
        // The range test comes first: converting a double beyond long long is undefined.
        if (x > -1e9 && x < 1e9 && x == static_cast<double>(static_cast<long long>(x))) {
            return std::to_string(static_cast<long long>(x));
        }
        return nlohmann::json(x).dump();
    }
    return std::nullopt;
}

} // namespace

std::variant<Request, RequestError> check_request(const RawBirth& raw) {
    Request request;
    BirthRecord& r = request.record;
    const auto year = field_in_range("year", raw.year, kFirstYear, kLastYear);
    if (auto* e = std::get_if<RequestError>(&year)) return *e;
    const auto month = field_in_range("month", raw.month, 1, 12);
    if (auto* e = std::get_if<RequestError>(&month)) return *e;
    MonthDays days;
    set_month_days(days, std::get<int>(year));
    const auto day = field_in_range("day", raw.day, 1, days[std::get<int>(month)]);
    if (auto* e = std::get_if<RequestError>(&day)) return *e;
    r.birth_year = std::get<int>(year);
    r.birth_month = std::get<int>(month);
    r.birth_day = std::get<int>(day);

    r.hour_unknown = raw.hour == "?";
    if (!r.hour_unknown) {
        const auto hour = field_in_range("hour", raw.hour, 0, 23);
        if (auto* e = std::get_if<RequestError>(&hour)) return *e;
        r.birth_hour = std::get<int>(hour);
    }
    r.minute_unknown = raw.minute == "?";
    if (!r.minute_unknown) {
        const auto minute = field_in_range("minute", raw.minute, 0, 59);
        if (auto* e = std::get_if<RequestError>(&minute)) return *e;
        r.birth_minute = std::get<int>(minute);
    }
    if (raw.sex == "male") {
        r.sex = Sex::male;
    } else if (raw.sex == "female") {
        r.sex = Sex::female;
    } else {
        return RequestError{"sex: male か female を指定してください（" + raw.sex + "）"};
    }

    if (raw.place) {
        // A place's offset is derived, not typed: it may pass ±59 minutes (Minamitorishima +75).
        auto named = find_named_place(*raw.place);
        if (auto* e = std::get_if<std::string>(&named)) return RequestError{std::move(*e)};
        request.place = std::get<NamedPlace>(std::move(named));
        r.offset = read_time_difference(request.place->offset.minutes, request.place->offset.seconds);
    } else {
        const auto offset = field_in_range("offset_minutes", raw.offset_minutes, -kTypedOffsetMinutesLimit,
                                           kTypedOffsetMinutesLimit);
        if (auto* e = std::get_if<RequestError>(&offset)) return *e;
        if (utf8_length(raw.offset_seconds) > kOffsetSecondsMaxLength) {
            return RequestError{"offset_seconds: 5文字までです（" + raw.offset_seconds + "）"};
        }
        r.offset = read_time_difference(raw.offset_minutes, raw.offset_seconds);
    }

    if (raw.now) {
        const auto now = parse_local_date_time(*raw.now);
        if (!now)
            return RequestError{"now: 日時は YYYY-MM-DDTHH:MM:SS の形で指定してください（" + *raw.now + "）"};
        request.now = *now;
    } else {
        request.now = local_now();
    }
    request.stamp = raw.stamp ? *raw.stamp : general_date_text(request.now);
    return request;
}

std::variant<RawBirth, RequestError> read_batch_line(std::string_view line, nlohmann::json* whole) {
    nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
    if (object.is_discarded()) return RequestError{"JSONとして読めません"};
    if (!object.is_object()) return RequestError{"JSONオブジェクトではありません"};
    RawBirth raw;
    const std::pair<const char*, std::string*> fields[] = {{"year", &raw.year},
                                                           {"month", &raw.month},
                                                           {"day", &raw.day},
                                                           {"hour", &raw.hour},
                                                           {"minute", &raw.minute},
                                                           {"sex", &raw.sex},
                                                           {"offset_minutes", &raw.offset_minutes},
                                                           {"offset_seconds", &raw.offset_seconds}};
    const auto place = object.find("place");
    if (place != object.end()) {
        if (!place->is_string()) return RequestError{"place: 文字列を指定してください"};
        if (object.contains("offset_minutes") || object.contains("offset_seconds")) {
            return RequestError{"place: offset_minutes, offset_seconds と同時には指定できません"};
        }
        raw.place = place->get<std::string>();
    }
    // A place stands for the last two fields, the offsets.
    for (const auto& [key, target] : std::span(fields).first(raw.place ? 6 : 8)) {
        const auto found = object.find(key);
        if (found == object.end()) return RequestError{std::string(key) + ": ありません"};
        const auto text = json_text(*found);
        if (!text) return RequestError{std::string(key) + ": 数値か文字列を指定してください"};
        *target = *text;
    }
    const auto now = object.find("now");
    if (now == object.end()) return RequestError{"now: ありません"};
    if (!now->is_string()) return RequestError{"now: 文字列を指定してください"};
    raw.now = now->get<std::string>();
    const auto stamp = object.find("stamp");
    if (stamp != object.end()) {
        if (!stamp->is_string()) return RequestError{"stamp: 文字列を指定してください"};
        raw.stamp = stamp->get<std::string>();
    }
    if (whole) *whole = std::move(object);
    return raw;
}

std::variant<Request, RequestError> parse_batch_line(std::string_view line) {
    auto raw = read_batch_line(line);
    if (auto* error = std::get_if<RequestError>(&raw)) return std::move(*error);
    return check_request(std::get<RawBirth>(raw));
}

namespace {

/// The detail readings of a chart: ten-god names, stages and void marks of the four pillars, the
/// void pair, the eleven luck pillars and the ten annual pillars from the request's present year.
nlohmann::ordered_json details_json(const Chart& c, const Request& request) {
    using nlohmann::ordered_json;
    // Containers are sized before they are filled: this member has some fifty small values.
    const auto object_of = [](std::size_t members) {
        ordered_json o = ordered_json::object();
        o.get_ref<ordered_json::object_t&>().reserve(members);
        return o;
    };
    const auto array_of = [](std::size_t elements) {
        ordered_json a = ordered_json::array();
        a.get_ref<ordered_json::array_t&>().reserve(elements);
        return a;
    };
    const ChartDetails d = chart_details(c, request.now);
    ordered_json out = object_of(4);
    auto& pillars = out["pillars"] = object_of(d.pillars.size());
    static constexpr const char* kPlaceNames[] = {"year", "month", "day", "hour"};
    for (std::size_t k = 0; k < d.pillars.size(); ++k) {
        const PillarDetails& p = d.pillars[k];
        auto& pillar = pillars[kPlaceNames[k]] = object_of(4);
        pillar["stem_god"] = p.stem_god;
        pillar["hidden_god"] = p.hidden_god;
        pillar["stage"] = p.stage;
        pillar["void"] = p.is_void;
    }
    out["void"] = void_pair_text(d.void_pair);
    auto& luck = out["luck"] = array_of(d.luck.size());
    for (const LuckDetails& l : d.luck) {
        auto& entry = luck.emplace_back(object_of(2));
        entry["stem_god"] = l.stem_god;
        entry["stage"] = l.stage;
    }
    auto& years = out["years"] = array_of(d.years.size());
    for (const AnnualPillar& a : d.years) {
        auto& entry = years.emplace_back(object_of(5));
        entry["year"] = a.year;
        std::string pillar(stem_name[static_cast<std::size_t>(a.stem)]);
        pillar += branch_name[static_cast<std::size_t>(a.branch)];
        entry["pillar"] = std::move(pillar);
        entry["stem_god"] = a.stem_god;
        entry["stage"] = a.stage;
        entry["void"] = a.is_void;
    }
    return out;
}

} // namespace

nlohmann::ordered_json chart_json(const Chart& c, const Request& request) {
    const ChartTexts& t = c.texts;
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    j.get_ref<nlohmann::ordered_json::object_t&>().reserve(32); // the top-level members below
    for_each_control(
        t, [&j](std::string_view name, const std::string& text) { j[name] = text; },
        [&j](std::string_view name, std::span<const std::string> row) {
            auto& array = j[name] = nlohmann::ordered_json::array();
            for (const std::string& text : row) array.push_back(text);
        });
    j["bold"] = c.current_luck ? nlohmann::ordered_json(*c.current_luck) : nlohmann::ordered_json(nullptr);

    const ReversedView r = reverse_chart(reversal_input(c));
    // Members are set one by one: an initializer list would copy every value once more.
    auto& reversed = j["reversed"] = nlohmann::ordered_json::object();
    reversed.get_ref<nlohmann::ordered_json::object_t&>().reserve(10);
    for_each_reversed_control(
        r, [&reversed](std::string_view name, const std::string& text) { reversed[name] = text; });
    reversed["reversal_case"] = r.reversal_case;
    j["export"] = export_text(t, request.record.sex, request.stamp);
    auto& v = j["values"] = nlohmann::ordered_json::object();
    v.get_ref<nlohmann::ordered_json::object_t&>().reserve(30);
    v["jBirth"] = c.jBirth;
    v["jihun"] = c.jihun;
    v["jisa"] = c.jisa;
    v["jBirthS"] = c.jBirthS;
    v["zg2"] = c.zg2;
    v["gosa"] = c.gosa;
    v["birth_nl"] = c.birth_nl;
    v["month_no"] = c.month_no;
    v["pillar_year"] = c.pillar_year;
    v["true_year"] = c.true_year;
    v["true_month"] = c.true_month;
    v["true_day"] = c.true_day;
    v["true_hour"] = c.true_hour;
    v["true_minute"] = c.true_minute;
    v["year_stem"] = c.year_stem;
    v["year_branch"] = c.year_branch;
    v["month_stem"] = c.month_stem;
    v["month_branch"] = c.month_branch;
    v["day_stem"] = c.day_stem;
    v["day_branch"] = c.day_branch;
    v["hour_stem"] = c.hour_stem;
    v["hour_branch"] = c.hour_branch;
    v["year_hidden"] = c.year_hidden;
    v["month_hidden"] = c.month_hidden;
    v["day_hidden"] = c.day_hidden;
    v["hour_hidden"] = c.hour_hidden;
    v["luck_forward"] = c.luck_forward;
    v["luck_years"] = c.luck_years;
    v["jd_present"] = c.jd_present;
    v["jd_anniversary"] = c.jd_anniversary;
    j["details"] = details_json(c, request);
    if (request.place) j["place"] = place_json(*request.place);
    return j;
}

} // namespace vantora::cli
