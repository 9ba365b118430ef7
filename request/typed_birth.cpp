#include "request/typed_birth.hpp"

#include "chart/number_text.hpp"

namespace vantora::request {
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
    record.birth_year = number(birth.year);
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
