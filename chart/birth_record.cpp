#include "chart/birth_record.hpp"

#include "chart/number_text.hpp"

namespace vantora {

std::string birthday_sentence(const std::optional<double>& year, const std::optional<double>& month,
                              const std::optional<double>& day, const std::optional<double>& hour,
                              const std::optional<double>& minute, bool hour_unknown, bool minute_given) {
    std::string text;
    text.reserve(40); // "1975年12月31日出生時間不明" is 35 bytes
    const auto add = [&text](const std::optional<double>& value, std::string_view unit) {
        if (value) append_general_text(text, *value);
        text += unit;
    };
    add(year, "年");
    add(month, "月");
    add(day, "日");
    if (hour_unknown) {
        text += "出生時間不明";
        return text;
    }
    add(hour, "時");
    if (minute_given) {
        add(minute, "分");
    } else {
        text += "頃";
    }
    return text;
}

std::string birthday_data(const BirthRecord& record) {
    return birthday_sentence(record.birth_year, record.birth_month, record.birth_day, record.birth_hour,
                             record.birth_minute, record.hour_unknown, !record.minute_unknown);
}

} // namespace vantora
