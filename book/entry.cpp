#include "book/entry.hpp"

#include "chart/number_text.hpp"
#include "cli/chart_request.hpp"

#include <variant>

namespace vantora::book {
namespace {

/// The texts of an entry as the chart command reads a birth; "" (no minute) is read as "?".
cli::RawBirth raw_birth(const Entry& entry) {
    cli::RawBirth raw;
    raw.year = std::to_string(entry.year);
    raw.month = std::to_string(entry.month);
    raw.day = std::to_string(entry.day);
    raw.hour = entry.hour;
    raw.minute = entry.minute.empty() ? "?" : entry.minute;
    raw.sex = sex_word(entry.sex);
    raw.offset_minutes = entry.offset_minutes;
    raw.offset_seconds = entry.offset_seconds;
    raw.now = "2000-01-01T00:00"; // the moment plays no part in checking; fixed, so the clock is not read
    return raw;
}

} // namespace

const char* sex_word(Sex sex) {
    return sex == Sex::male ? "male" : "female";
}

std::optional<std::string> entry_problem(const Entry& entry) {
    if (entry.name.find_first_not_of(" \t\r\n　") == std::string::npos) return "name: 名前がありません";
    const auto checked = cli::check_request(raw_birth(entry));
    if (const auto* error = std::get_if<cli::RequestError>(&checked)) return error->message;
    return std::nullopt;
}

BirthRecord birth_record(const Entry& entry) {
    BirthRecord record;
    record.birth_year = entry.year;
    record.birth_month = entry.month;
    record.birth_day = entry.day;
    record.hour_unknown = entry.hour == "?";
    record.minute_unknown = entry.minute == "?" || entry.minute.empty();
    record.birth_hour = record.hour_unknown ? 0 : numeric_value(entry.hour);
    record.birth_minute = record.minute_unknown ? 0 : numeric_value(entry.minute);
    record.sex = entry.sex;
    record.offset = read_time_difference(entry.offset_minutes, entry.offset_seconds);
    return record;
}

std::string birth_text(const Entry& entry) {
    BirthInputs inputs;
    inputs.year = entry.year;
    inputs.month = entry.month;
    inputs.day = entry.day;
    inputs.hour_text = entry.hour;
    inputs.minute_text = entry.minute;
    if (entry.hour != "?") inputs.hour = numeric_value(entry.hour);
    if (!entry.minute.empty() && entry.minute != "?") inputs.minute = numeric_value(entry.minute);
    return birthday_data(inputs);
}

} // namespace vantora::book
