// Japanese era years (和暦): 明治 to 令和 years as typed ("昭和50", "昭50", "S50", "平成元年", "H1",
// full- or half-width) read as the Western year they mean, and the era labels of a Western year.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <variant>

namespace vantora {

/// An era: its name, the one-character and one-letter short forms, and the Western years of its
/// first (元年) and last year. A change year belongs to both eras.
struct Era {
    std::string_view name, short_name, letter;
    int first_year, last_year;
};
inline constexpr std::array<Era, 5> kEras{{
    {"明治", "明", "M", 1868, 1912},
    {"大正", "大", "T", 1912, 1926},
    {"昭和", "昭", "S", 1926, 1989},
    {"平成", "平", "H", 1989, 2019},
    {"令和", "令", "R", 2019, 9999},
}};

/// A typed year: a Western year ("1975", "１９７５年") or an era year in any of the forms above,
/// blanks and a closing "年" allowed. The Western year, or a Japanese error: an era year outside
/// its era names the era's range. The range of birth years is left to the caller.
std::variant<int, std::string> read_year_text(std::string_view text);

/// The era years of a Western year for the year list: "昭50", both in a change year ("昭64/平1"),
/// empty before 明治.
std::string era_label(int year);

} // namespace vantora
