// Era years as typed, and the era labels of the year list.
#include "chart/era_year.hpp"

#include <gtest/gtest.h>

namespace vantora {
namespace {

TEST(EraYear, TypedFormsGiveTheWesternYearOrSayWhy) {
    const struct {
        const char *typed, *year_or_error;
    } cases[] = {
        {"1975", "1975"},
        {"１９７５年", "1975"},
        {"昭和50", "1975"},
        {"昭50", "1975"},
        {"S50", "1975"},
        {"ｓ５０", "1975"},
        {"昭和 50 年", "1975"},
        {"平成元年", "1989"},
        {"H1", "1989"},
        {"R1", "2019"},
        {"明治1", "1868"},
        {"大正15", "1926"},
        {"Ｒ８１", "2099"},
        {"昭和64", "1989"},
        {"昭和65", "年「昭和65」は昭和の範囲外です（昭和は元年（1926年）から64年（1989年）まで）"},
        {"H0", "年「H0」の平成の年が読めません"},
        {"X50", "年「X50」は西暦の年か和暦の年（昭和50、S50、平成元年など）ではありません"},
    };
    for (const auto& c : cases) {
        const auto got = read_year_text(c.typed);
        EXPECT_EQ(std::holds_alternative<int>(got) ? std::to_string(std::get<int>(got))
                                                   : std::get<std::string>(got),
                  c.year_or_error)
            << c.typed;
    }
}

TEST(EraYear, ListLabelsNameBothErasInAChangeYear) {
    const std::pair<int, const char*> cases[] = {{1867, ""},     {1868, "明1"},      {1912, "明45/大1"},
                                                 {1975, "昭50"}, {1989, "昭64/平1"}, {2019, "平31/令1"},
                                                 {2099, "令81"}};
    for (const auto& [year, label] : cases) EXPECT_EQ(era_label(year), label) << year;
}

} // namespace
} // namespace vantora
