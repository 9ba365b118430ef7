#include "request/batch_line.hpp"

#include "request/plain_batch_line.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>
#include <vector>

namespace vantora::request {
namespace {

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
    std::vector<std::string> negative_zero_keys; ///< escapes decoded, as the parser reads the keys
};

/// A key as the JSON parser reads it: "offset\u005fminutes" is offset_minutes. A key it cannot
/// decode stays as written (the parse then refuses the line).
std::string decoded_key(std::string_view written) {
    if (written.find('\\') == std::string_view::npos) return std::string(written);
    const auto parsed = nlohmann::json::parse("\"" + std::string(written) + "\"", nullptr, false);
    return parsed.is_string() ? parsed.get<std::string>() : std::string(written);
}

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
            if (zero) scan.negative_zero_keys.push_back(decoded_key(key));
            k = end - 1;
        }
    }
    return scan;
}

} // namespace

std::variant<TypedRequest, RequestError> read_json_batch_line(std::string_view line, nlohmann::json* whole) {
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
    TypedRequest raw;
    TypedBirth& birth = raw.birth;
    const auto place = object.find("place");
    if (place != object.end()) {
        if (!place->is_string()) return RequestError{"place: 文字列を指定してください"};
        if (object.contains("offset_minutes") || object.contains("offset_seconds")) {
            return RequestError{"place: offset_minutes, offset_seconds と同時には指定できません"};
        }
        birth.place = place->get<std::string>();
        birth.offset_minutes.clear(); // the place's, looked up when checked
        birth.offset_seconds.clear();
    }
    const std::size_t fields = birth.place ? kBirthTextFieldsWithPlace : std::size(kBirthTextFields);
    for (const auto& [key, member] : std::span(kBirthTextFields).first(fields)) {
        const auto found = object.find(key);
        if (found == object.end()) return RequestError{std::string(key) + ": ありません"};
        const bool negative_zero = std::find(scan.negative_zero_keys.begin(), scan.negative_zero_keys.end(),
                                             key) != scan.negative_zero_keys.end();
        auto text = json_text(key, *found, negative_zero);
        if (auto* error = std::get_if<RequestError>(&text)) return std::move(*error);
        if (std::holds_alternative<std::monostate>(text))
            return RequestError{std::string(key) + ": 数値か文字列を指定してください"};
        birth.*member = std::move(std::get<std::string>(text));
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
    // "rules": {"day-change": "23", …}; a key or value not known is the line's error.
    const auto rules = object.find("rules");
    if (rules != object.end()) {
        if (!rules->is_object()) return RequestError{"rules: オブジェクトを指定してください"};
        for (const auto& [key, value] : rules->items()) {
            if (!value.is_string())
                return RequestError{"rules: 「" + key + "」の値は文字列で指定してください"};
            if (auto error = set_rule(raw.rules, key, value.get<std::string>()))
                return RequestError{"rules: " + *error};
        }
    }
    if (whole) *whole = std::move(object);
    return raw;
}

std::variant<TypedRequest, RequestError> read_batch_line(std::string_view line, nlohmann::json* whole) {
    if (!whole) {
        if (auto plain = read_plain_batch_line(line)) return std::move(*plain);
    }
    return read_json_batch_line(line, whole);
}

std::variant<Request, RequestError> parse_batch_line(std::string_view line) {
    auto raw = read_batch_line(line);
    if (auto* error = std::get_if<RequestError>(&raw)) return std::move(*error);
    return check_request(std::get<TypedRequest>(raw));
}

} // namespace vantora::request
