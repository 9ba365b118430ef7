#include "chart/birth_record.hpp"

#include "chart/number_text.hpp"

namespace vantora {
namespace {

std::string optional_text(const std::optional<double>& value) {
    return value ? general_text(*value) : std::string();
}

} // namespace

std::string birthday_data(const BirthInputs& inputs) {
    std::string text = optional_text(inputs.year) + "年" + optional_text(inputs.month) + "月" +
                       optional_text(inputs.day) + "日";
    if (inputs.hour_text == "?") return text + "出生時間不明";
    text += optional_text(inputs.hour) + "時";
    if (!inputs.minute_text.empty() && inputs.minute_text != "?")
        return text + optional_text(inputs.minute) + "分";
    return text + "頃";
}

std::string birthday_data(const BirthRecord& record) {
    BirthInputs inputs{record.birth_year,
                       record.birth_month,
                       record.birth_day,
                       record.birth_hour,
                       record.birth_minute,
                       record.hour_unknown ? "?" : general_text(record.birth_hour),
                       record.minute_unknown ? "?" : general_text(record.birth_minute)};
    return birthday_data(inputs);
}

} // namespace vantora
