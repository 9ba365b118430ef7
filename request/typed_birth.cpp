#include "request/typed_birth.hpp"

#include "chart/era_year.hpp"
#include "chart/number_text.hpp"

#include <algorithm>

namespace vantora::request {

std::string western_year_text(const std::string& year, std::string* error) {
    // A text of ASCII digits (or any other text not naming an era) keeps the plain number's reading.
    const auto first = year.find_first_not_of(' ');
    const bool era_form =
        std::any_of(year.begin(), year.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) ||
        (first != std::string::npos &&
         std::string_view("MTSHRmtshr").find(year[first]) != std::string_view::npos);
    if (!era_form) return year;
    const auto read = read_year_text(year);
    if (const auto* reason = std::get_if<std::string>(&read)) {
        if (error) *error = *reason;
        return {};
    }
    return std::to_string(std::get<int>(read));
}
namespace {

/// The value of an entered number text; nothing for a field not yet entered.
std::optional<double> entered_number(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return numeric_value(text);
}

/// A field's number; a typed "-0" (an hour or minute the check lets pass) is 0, not −0.
double number(const std::string& text) {
    return numeric_value(text) + 0.0;
}

bool is_unknown(const std::string& text) {
    return text == "?";
}

} // namespace

const char* sex_word(Sex sex) {
    return sex == Sex::male ? "male" : "female";
}

BirthRecord birth_record(const TypedBirth& birth) {
    BirthRecord record;
    record.birth_year = number(western_year_text(birth.year));
    record.birth_month = number(birth.month);
    record.birth_day = number(birth.day);
    record.hour_unknown = is_unknown(birth.hour);
    record.minute_unknown = is_unknown(birth.minute) || birth.minute.empty();
    record.birth_hour = record.hour_unknown ? 0 : number(birth.hour);
    record.birth_minute = record.minute_unknown ? 0 : number(birth.minute);
    record.sex = birth.sex == "male" ? Sex::male : Sex::female;
    record.offset = read_time_difference(birth.offset_minutes, birth.offset_seconds);
    return record;
}

std::string birthday_data(const TypedBirth& birth) {
    const bool minute_given = !birth.minute.empty() && !is_unknown(birth.minute);
    return birthday_sentence(
        entered_number(birth.year), entered_number(birth.month), entered_number(birth.day),
        is_unknown(birth.hour) ? std::nullopt : entered_number(birth.hour),
        minute_given ? entered_number(birth.minute) : std::nullopt, is_unknown(birth.hour), minute_given);
}

} // namespace vantora::request
