#include "cli/chart_request.hpp"

#include "chart/details.hpp"
#include "chart/export_text.hpp"
#include "chart/reversal.hpp"
#include "chart/shown_chart.hpp"
#include "cli/json_writer.hpp"
#include "cli/plain_batch_line.hpp"
#include "core/calendar.hpp"
#include "core/message_text.hpp"
#include "core/names.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>
#include <vector>

namespace vantora::cli {
namespace {

RequestError out_of_range(std::string_view field, std::string_view range, std::string_view text) {
    return {std::string(field) + ": " + std::string(range) + "の範囲外です（" + std::string(text) + "）"};
}

/// A whole number written as an optional "-" and decimal digits: its value, or nullopt for
/// another text; a number of more than nine digits is `too_long` (beyond every field's range).
std::optional<int> whole_number(std::string_view text, bool& too_long) {
    const std::size_t digits_from = !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() == digits_from) return std::nullopt;
    for (std::size_t k = digits_from; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return std::nullopt;
    }
    too_long = text.size() - digits_from > 9;
    if (too_long) return std::nullopt;
    int value = 0;
    std::from_chars(text.data() + digits_from, text.data() + text.size(), value);
    return digits_from ? -value : value;
}

std::variant<int, RequestError> field_in_range(std::string_view field, std::string_view text, int low,
                                               int high) {
    bool too_long = false;
    const auto value = whole_number(text, too_long);
    if (!value && !too_long) {
        return RequestError{std::string(field) + ": 整数ではありません（" + printable_text(text) + "）"};
    }
    if (too_long || *value < low || *value > high) {
        return out_of_range(field, std::to_string(low) + "〜" + std::to_string(high), printable_text(text));
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

/// The text of a JSON value that stands for a number or "?": a string as it is, a number with a
/// whole value as its decimal digits ("-0" for a negative zero, which is west in offset_minutes,
/// as the text "-0" is); a number with a fraction is refused, since the texts' rules would read
/// "1e-05" or "0.5" otherwise than its value. nullopt for other values.
std::variant<std::string, RequestError, std::monostate>
json_text(std::string_view key, const nlohmann::json& value, bool negative_zero) {
    if (value.is_string()) return value.get<std::string>();
    // Unsigned first: a value above 2^63 read as long long would wrap to a negative number.
    if (value.is_number_unsigned()) return std::to_string(value.get<unsigned long long>());
    if (value.is_number_integer()) {
        const long long n = value.get<long long>();
        return n == 0 && negative_zero ? std::string("-0") : std::to_string(n);
    }
    if (value.is_number_float()) {
        const double x = value.get<double>();
        if (std::isfinite(x) && x == std::trunc(x)) {
            if (x == 0) return std::string(std::signbit(x) || negative_zero ? "-0" : "0");
            char digits[400]; // room for any whole double in fixed notation
            return std::string(
                digits, std::to_chars(digits, digits + sizeof digits, x, std::chars_format::fixed).ptr);
        }
        return RequestError{std::string(key) + ": 整数でない数値は使えません（" + nlohmann::json(x).dump() +
                            "）。小数は文字列で指定してください"};
    }
    return std::monostate{};
}

/// How deep a batch line nests and which of its top-level members hold a negative zero ("-0",
/// "-0.0", "-0e3"), which the parsed value no longer tells from 0. Stops counting past `max_depth`.
struct LineScan {
    std::size_t depth = 0;
    std::vector<std::string_view> negative_zero_keys; ///< as written, escapes not decoded
};

LineScan scan_line(std::string_view line, std::size_t max_depth) {
    LineScan scan;
    std::size_t depth = 0;
    std::string_view last_string, key;
    for (std::size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (c == '"') {
            const std::size_t from = ++k;
            while (k < line.size() && line[k] != '"') k += line[k] == '\\' ? 2 : 1;
            last_string = line.substr(from, std::min(k, line.size()) - from);
        } else if (c == '{' || c == '[') {
            scan.depth = std::max(scan.depth, ++depth);
            if (depth > max_depth) return scan;
        } else if (c == '}' || c == ']') {
            depth -= depth > 0;
        } else if (c == ':' && depth == 1) {
            key = last_string;
        } else if ((c == '-' || (c >= '0' && c <= '9')) && depth == 1) {
            // A whole number token: a negative zero has only zeros before its exponent.
            bool zero = c == '-', mantissa = true;
            std::size_t end = k + 1;
            for (; end < line.size() &&
                   std::string_view("0123456789.eE+-").find(line[end]) != std::string_view::npos;
                 ++end) {
                mantissa = mantissa && line[end] != 'e' && line[end] != 'E';
                if (mantissa) zero = zero && (line[end] == '0' || line[end] == '.');
            }
            if (zero) scan.negative_zero_keys.push_back(key);
            k = end - 1;
        }
    }
    return scan;
}

} // namespace

std::variant<Request, RequestError> check_request(const RawBirth& raw) {
    Request request;
    BirthRecord& r = request.record;
    const auto year = field_in_range("year", raw.year, kFirstBirthYear, kLastBirthYear);
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

std::variant<RawBirth, RequestError> read_json_batch_line(std::string_view line, nlohmann::json* whole) {
    // Checked before parsing, so that a huge or deeply nested line costs neither time nor memory.
    if (line.size() > kMaxBatchLineBytes) {
        return RequestError{"行が長すぎます（" + std::to_string(kMaxBatchLineBytes) + "バイトまで）"};
    }
    const LineScan scan = scan_line(line, kMaxBatchNesting);
    if (scan.depth > kMaxBatchNesting) {
        return RequestError{"入れ子が深すぎます（" + std::to_string(kMaxBatchNesting) + "段まで）"};
    }
    nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
    if (object.is_discarded()) return RequestError{"JSONとして読めません"};
    if (!object.is_object()) return RequestError{"JSONオブジェクトではありません"};
    RawBirth raw;
    const auto place = object.find("place");
    if (place != object.end()) {
        if (!place->is_string()) return RequestError{"place: 文字列を指定してください"};
        if (object.contains("offset_minutes") || object.contains("offset_seconds")) {
            return RequestError{"place: offset_minutes, offset_seconds と同時には指定できません"};
        }
        raw.place = place->get<std::string>();
    }
    const std::size_t fields = raw.place ? kBirthTextFieldsWithPlace : std::size(kBirthTextFields);
    for (const auto& [key, member] : std::span(kBirthTextFields).first(fields)) {
        const auto found = object.find(key);
        if (found == object.end()) return RequestError{std::string(key) + ": ありません"};
        const bool negative_zero = std::find(scan.negative_zero_keys.begin(), scan.negative_zero_keys.end(),
                                             key) != scan.negative_zero_keys.end();
        auto text = json_text(key, *found, negative_zero);
        if (auto* error = std::get_if<RequestError>(&text)) return std::move(*error);
        if (std::holds_alternative<std::monostate>(text))
            return RequestError{std::string(key) + ": 数値か文字列を指定してください"};
        raw.*member = std::move(std::get<std::string>(text));
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

std::variant<RawBirth, RequestError> read_batch_line(std::string_view line, nlohmann::json* whole) {
    if (!whole) {
        if (auto plain = read_plain_batch_line(line)) return std::move(*plain);
    }
    return read_json_batch_line(line, whole);
}

std::variant<Request, RequestError> parse_batch_line(std::string_view line) {
    auto raw = read_batch_line(line);
    if (auto* error = std::get_if<RequestError>(&raw)) return std::move(*error);
    return check_request(std::get<RawBirth>(raw));
}

namespace {

/// The detail readings of a chart: ten-god names, stages and void marks of the four pillars, the
/// void pair, the eleven luck pillars and the ten annual pillars from the request's present year.
void write_details(JsonWriter& w, const Chart& c, const Request& request) {
    const ChartDetails d = chart_details(c, request.now);
    w.begin_object();
    w.key("pillars");
    w.begin_object();
    static constexpr const char* kPlaceNames[] = {"year", "month", "day", "hour"};
    for (std::size_t k = 0; k < d.pillars.size(); ++k) {
        const PillarDetails& p = d.pillars[k];
        w.key(kPlaceNames[k]);
        w.begin_object();
        w.member("stem_god", p.stem_god);
        w.member("hidden_god", p.hidden_god);
        w.member("stage", p.stage);
        w.member("void", p.is_void);
        w.end_object();
    }
    w.end_object();
    w.member("void", void_pair_text(d.void_pair));
    w.key("luck");
    w.begin_array();
    for (const LuckDetails& l : d.luck) {
        w.begin_object();
        w.member("stem_god", l.stem_god);
        w.member("stage", l.stage);
        w.end_object();
    }
    w.end_array();
    w.key("years");
    w.begin_array();
    for (const AnnualPillar& a : d.years) {
        w.begin_object();
        w.member("year", a.year);
        std::string pillar(stem_name[static_cast<std::size_t>(a.stem)]);
        pillar += branch_name[static_cast<std::size_t>(a.branch)];
        w.member("pillar", pillar);
        w.member("stem_god", a.stem_god);
        w.member("stage", a.stage);
        w.member("void", a.is_void);
        w.end_object();
    }
    w.end_array();
    w.end_object();
}

} // namespace

void write_chart_json(JsonBuffer& out, const Chart& c, const Request& request) {
    JsonWriter w(out);
    const ChartTexts& t = c.texts;
    w.begin_object();
    for_each_control(
        t, [&w](std::string_view name, const std::string& text) { w.member(name, text); },
        [&w](std::string_view name, std::span<const std::string> row) {
            w.key(name);
            w.begin_array();
            for (const std::string& text : row) w.value(text);
            w.end_array();
        });
    w.key("bold");
    if (c.current_luck) {
        w.value(*c.current_luck);
    } else {
        w.value(nullptr);
    }

    const ReversedView r = reverse_chart(reversal_input(c));
    w.key("reversed");
    w.begin_object();
    for_each_reversed_control(r,
                              [&w](std::string_view name, const std::string& text) { w.member(name, text); });
    w.member("reversal_case", r.reversal_case);
    w.end_object();
    w.member("export", export_text(t, request.record.sex, request.stamp));
    w.key("values");
    w.begin_object();
    w.member("jBirth", c.jBirth);
    w.member("jihun", c.jihun);
    w.member("jisa", c.jisa);
    w.member("jBirthS", c.jBirthS);
    w.member("zg2", c.zg2);
    w.member("gosa", c.gosa);
    w.member("birth_nl", c.birth_nl);
    w.member("month_no", c.month_no);
    w.member("pillar_year", c.pillar_year);
    w.member("true_year", c.true_year);
    w.member("true_month", c.true_month);
    w.member("true_day", c.true_day);
    w.member("true_hour", c.true_hour);
    w.member("true_minute", c.true_minute);
    w.member("year_stem", c.year_stem);
    w.member("year_branch", c.year_branch);
    w.member("month_stem", c.month_stem);
    w.member("month_branch", c.month_branch);
    w.member("day_stem", c.day_stem);
    w.member("day_branch", c.day_branch);
    w.member("hour_stem", c.hour_stem);
    w.member("hour_branch", c.hour_branch);
    w.member("year_hidden", c.year_hidden);
    w.member("month_hidden", c.month_hidden);
    w.member("day_hidden", c.day_hidden);
    w.member("hour_hidden", c.hour_hidden);
    w.member("luck_forward", c.luck_forward);
    w.member("luck_years", c.luck_years);
    w.member("jd_present", c.jd_present);
    w.member("jd_anniversary", c.jd_anniversary);
    w.end_object();
    w.key("details");
    write_details(w, c, request);
    if (request.place) w.member("place", place_json(*request.place));
    w.end_object();
}

nlohmann::ordered_json chart_json(const Chart& c, const Request& request) {
    JsonBuffer text;
    write_chart_json(text, c, request);
    return nlohmann::ordered_json::parse(text.view());
}

void write_error_json(JsonBuffer& out, long line, std::string_view message) {
    JsonWriter w(out);
    w.begin_object();
    w.member("line", line);
    w.member("error", message);
    w.end_object();
}

} // namespace vantora::cli
