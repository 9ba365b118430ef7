#include "chart/era_year.hpp"

#include <charconv>

namespace vantora {
namespace {

/// The text with full-width digits, letters and blanks (U+FF10…, U+FF21…, U+3000) made half-width,
/// letters upper case, and blanks removed.
std::string half_width(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        if (i + 2 < text.size() && byte(0) == 0xEF && (byte(1) == 0xBC || byte(1) == 0xBD)) {
            // U+FF01..U+FF5E are the ASCII characters 0x21..0x7E, shifted by 0xFEE0.
            const int code = ((byte(1) & 0x3F) << 6 | (byte(2) & 0x3F)) + 0xF000 - 0xFEE0;
            if (code >= 0x21 && code <= 0x7E) {
                out += static_cast<char>(code);
                i += 2;
                continue;
            }
        }
        if (i + 2 < text.size() && byte(0) == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80) { // U+3000
            i += 2;
            continue;
        }
        if (text[i] != ' ' && text[i] != '\t') out += text[i];
    }
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool take_prefix(std::string_view& text, std::string_view prefix) {
    if (prefix.empty() || text.substr(0, prefix.size()) != prefix) return false;
    text.remove_prefix(prefix.size());
    return true;
}

/// A whole number of up to four digits, the whole text; -1 otherwise.
int whole_number(std::string_view text) {
    int value = -1;
    if (text.empty() || text.size() > 4) return -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size() ? value : -1;
}

} // namespace

std::variant<int, std::string> read_year_text(std::string_view typed) {
    const std::string text = half_width(typed);
    std::string_view rest = text;
    if (rest.size() >= 3 && rest.substr(rest.size() - 3) == "年") rest.remove_suffix(3);
    for (const Era& era : kEras) {
        if (!take_prefix(rest, era.name) && !take_prefix(rest, era.short_name) &&
            !take_prefix(rest, era.letter))
            continue;
        const int n = rest == "元" ? 1 : whole_number(rest);
        if (n < 1) return "年「" + std::string(typed) + "」の" + std::string(era.name) + "の年が読めません";
        const int year = era.first_year + n - 1;
        if (year > era.last_year) {
            std::string range = std::string(era.name) + "は元年（" + std::to_string(era.first_year) + "年）";
            if (era.last_year < 9999) {
                range += "から" + std::to_string(era.last_year - era.first_year + 1) + "年（" +
                         std::to_string(era.last_year) + "年）まで";
            }
            return "年「" + std::string(typed) + "」は" + std::string(era.name) + "の範囲外です（" + range +
                   "）";
        }
        return year;
    }
    const int year = whole_number(rest);
    if (year < 0)
        return "年「" + std::string(typed) +
               "」は西暦の年か和暦の年（昭和50、S50、平成元年など）ではありません";
    return year;
}

std::string era_label(int year) {
    std::string label;
    for (const Era& era : kEras) {
        if (year < era.first_year || year > era.last_year) continue;
        if (!label.empty()) label += "/";
        label += era.short_name;
        label += std::to_string(year - era.first_year + 1);
    }
    return label;
}

} // namespace vantora
