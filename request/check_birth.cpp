#include "request/check_birth.hpp"

#include "chart/era_year.hpp"
#include "core/calendar.hpp"
#include "core/message_text.hpp"

#include <algorithm>
#include <charconv>

namespace vantora::request {
namespace {

RequestError out_of_range(std::string_view field, std::string_view range, std::string_view text) {
    return {std::string(field) + ": " + std::string(range) + "の範囲外です（" + std::string(text) + "）"};
}

/// A whole number written as an optional "-" and decimal digits: its value, or nullopt for
/// another text; a number of more than nine digits after its leading zeros is `too_long` (beyond
/// every field's range).
std::optional<int> whole_number(std::string_view text, bool& too_long) {
    const std::size_t digits_from = !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() == digits_from) return std::nullopt;
    for (std::size_t k = digits_from; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return std::nullopt;
    }
    std::size_t significant_from = digits_from;
    while (significant_from + 1 < text.size() && text[significant_from] == '0') ++significant_from;
    too_long = text.size() - significant_from > 9;
    if (too_long) return std::nullopt;
    int value = 0;
    std::from_chars(text.data() + significant_from, text.data() + text.size(), value);
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

/// check_birth, with a minute "" (none chosen) allowed as unknown or refused as not a number.
std::variant<CheckedBirth, RequestError> check_fields(const TypedBirth& birth, bool minute_may_be_unchosen) {
    std::string era_error;
    const std::string western = western_year_text(birth.year, &era_error);
    if (!era_error.empty()) return RequestError{"year: " + era_error};
    const auto year = field_in_range("year", western, kFirstBirthYear, kLastBirthYear);
    if (auto* e = std::get_if<RequestError>(&year)) return *e;
    const auto month = field_in_range("month", birth.month, 1, 12);
    if (auto* e = std::get_if<RequestError>(&month)) return *e;
    MonthDays days;
    set_month_days(days, std::get<int>(year));
    const auto day = field_in_range("day", birth.day, 1, days[std::get<int>(month)]);
    if (auto* e = std::get_if<RequestError>(&day)) return *e;
    if (birth.hour != "?") {
        const auto hour = field_in_range("hour", birth.hour, 0, 23);
        if (auto* e = std::get_if<RequestError>(&hour)) return *e;
    }
    if (birth.minute != "?" && !(minute_may_be_unchosen && birth.minute.empty())) {
        const auto minute = field_in_range("minute", birth.minute, 0, 59);
        if (auto* e = std::get_if<RequestError>(&minute)) return *e;
    }
    if (birth.sex != "male" && birth.sex != "female")
        return RequestError{"sex: male か female を指定してください（" + birth.sex + "）"};

    CheckedBirth checked{birth_record(birth), std::nullopt};
    if (birth.offsets_from_place()) {
        // A place's offset is derived, not typed: no limit but the place's own longitude.
        auto named = find_named_place(*birth.place);
        if (auto* e = std::get_if<std::string>(&named)) return RequestError{std::move(*e)};
        checked.place = std::get<NamedPlace>(std::move(named));
        checked.record.offset =
            read_time_difference(checked.place->offset.minutes, checked.place->offset.seconds);
    } else {
        const auto offset = field_in_range("offset_minutes", birth.offset_minutes, -kTypedOffsetMinutesLimit,
                                           kTypedOffsetMinutesLimit);
        if (auto* e = std::get_if<RequestError>(&offset)) return *e;
        if (utf8_length(birth.offset_seconds) > kOffsetSecondsMaxLength)
            return RequestError{"offset_seconds: 5文字までです（" + birth.offset_seconds + "）"};
    }
    return checked;
}

} // namespace

std::variant<CheckedBirth, RequestError> check_birth(const TypedBirth& birth) {
    return check_fields(birth, true);
}

std::variant<Request, RequestError> check_request(const TypedRequest& typed) {
    auto birth = check_fields(typed.birth, false);
    if (auto* e = std::get_if<RequestError>(&birth)) return std::move(*e);
    Request request;
    request.record = std::get<CheckedBirth>(birth).record;
    request.place = std::move(std::get<CheckedBirth>(birth).place);
    request.rules = typed.rules;
    if (typed.now) {
        const auto now = parse_local_date_time(*typed.now);
        if (!now)
            return RequestError{"now: 日時は YYYY-MM-DDTHH:MM:SS の形で指定してください（" + *typed.now +
                                "）"};
        request.now = *now;
    } else {
        request.now = local_now();
    }
    request.stamp = typed.stamp ? *typed.stamp : general_date_text(request.now);
    return request;
}

} // namespace vantora::request
