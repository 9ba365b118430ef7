// The reversed reading (旺の逆転) and the export text.
#include "chart/compute_chart.hpp"
#include "chart/export_text.hpp"
#include "chart/reversal.hpp"
#include "test_tables.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace vantora {
namespace {

// Stems 1..10: 甲 乙 丙 丁 戊 己 庚 辛 壬 癸.
constexpr int kJia = 1, kYi = 2, kBing = 3, kWu = 5, kGeng = 7, kXin = 8, kRen = 9, kGui = 10;

TEST(Reversal, CasesOfTheRule) {
    const struct {
        const char* name;
        ReversalInput in;
        int reversal_case;
        const char *year_hidden, *month_hidden, *ou, *year_hidden_relation, *month_relation, *year_relation;
    } cases[] = {
        {"印 month stem, 官 month hidden, 食 year stem: case 2",
         {kBing, kRen, kJia, kJia, kWu, kGeng, kJia, kJia, true},
         2,
         "壬",
         "甲",
         "比",
         "印",
         "印",
         "食"},
        {"印 month stem with a 比 year stem, 官 month hidden: case 0",
         {kYi, kGui, kJia, kJia, kWu, kXin, kJia, kJia, true},
         0,
         "戊",
         "辛",
         "官",
         "財",
         "印",
         "比"},
        {"食 month hidden: case 1",
         {kBing, kRen, kJia, kJia, kWu, kBing, kJia, kJia, true},
         1,
         "甲",
         "壬",
         "印",
         "比",
         "印",
         "食"},
    };
    for (const auto& c : cases) {
        const ReversedView v = reverse_chart(c.in);
        EXPECT_EQ(v.reversal_case, c.reversal_case) << c.name;
        EXPECT_EQ(v.lbl_yZokan, c.year_hidden) << c.name;
        EXPECT_EQ(v.lbl_mZokan, c.month_hidden) << c.name;
        EXPECT_EQ(v.lblOu, c.ou) << c.name;
        EXPECT_EQ(v.lbl_yzSeikoku, c.year_hidden_relation) << c.name;
        EXPECT_EQ(v.lbl_mSeikoku, c.month_relation) << c.name;
        EXPECT_EQ(v.lbl_ySeikoku, c.year_relation) << c.name;
    }
}

TEST(Reversal, DecisionTable) {
    constexpr int same = 0, produced = 1, overcome = 2, overcoming = 3, producing = 4;
    const struct {
        int ym, yh, yy, month_stem, year_stem, expected;
    } rows[] = {
        // Without P (month stem not 印, or 印 with a 食/財 year stem and no yang/yin pair).
        {same, same, same, 1, 1, 0},
        {same, producing, same, 1, 1, 0},
        {same, overcoming, same, 1, 1, 2},
        {same, produced, same, 1, 1, 1},
        {same, overcome, same, 1, 1, 1},
        {producing, overcoming, produced, 2, 2, 2}, // 印 but 食 year stem, both yin: no P
        // With P.
        {producing, same, same, 1, 1, 1},
        {producing, producing, overcoming, 1, 1, 1},
        {producing, overcoming, same, 1, 1, 0},
        {producing, overcoming, producing, 1, 1, 0},
        {producing, overcoming, overcoming, 1, 1, 1},
        {producing, overcoming, produced, 1, 2, 1}, // yang month stem, yin year stem: P
        {producing, produced, overcome, 1, 2, 1},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(reversal_case(r.ym, r.yh, r.yy, r.month_stem, r.year_stem), r.expected)
            << r.ym << r.yh << r.yy << " stems " << r.month_stem << "/" << r.year_stem;
    }
}

TEST(Reversal, UnknownHourLeavesTheHourRelationsEmpty) {
    const ReversedView v = reverse_chart({kBing, kRen, kJia, kJia, kWu, kGeng, kJia, kJia, false});
    EXPECT_EQ(v.lbl_hSeikoku, "");
    EXPECT_EQ(v.lbl_hzSeikoku, "");
    EXPECT_EQ(v.lbl_dzSeikoku, "比");
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

TEST(ExportText, LayoutOfTheSeventeenLines) {
    BirthRecord r;
    r.birth_year = 2000;
    r.birth_month = 1;
    r.birth_day = 1;
    r.birth_hour = 12;
    r.sex = Sex::male;
    const auto c = std::get<Chart>(compute_chart(r, {2026, 12, 8, 10, 0, 0}, testing::real_tables()));
    const std::string text = export_text(c.texts, Sex::male, "2026/12/08 10:00:00");
    const auto lines = lines_of(text);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(text.substr(text.size() - std::string("備考／").size()), "備考／")
        << "no line break after line 17";
    EXPECT_EQ(lines[0], "2026/12/08 10:00:00解命");
    EXPECT_EQ(lines[1], "姓名／");
    EXPECT_EQ(lines[2], "生年月日／2000年1月1日12時0分　性別／男　年齢／26歳");
    EXPECT_EQ(lines[3], "          大運交替／" + c.texts.txtKoutai + "  交替年月／" + c.texts.txtKoutaiYM);
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "己  卯（" + c.texts.lbl_yZokan + "）    大運  丙子");
    EXPECT_EQ(lines[6], "丙  子（" + c.texts.lbl_mZokan + "）     " + c.texts.sai1[0] + "    " +
                            c.texts.dun_kan[1] + c.texts.dun_shi[1]);
    for (std::size_t k = 9; k <= 15; ++k) {
        EXPECT_EQ(lines[k].rfind(std::string(17, ' ') + c.texts.sai1[k - 6] + "   ", 0), 0u) << lines[k];
    }
    EXPECT_EQ(lines[16], "備考／");
    EXPECT_EQ(lines_of(export_text(c.texts, Sex::female, "x"))[2].find("性別／女") != std::string::npos,
              true);
}

TEST(ExportText, GeneralDateFormOmitsMidnight) {
    EXPECT_EQ(general_date_text({2026, 12, 8, 10, 0, 0}), "2026/12/08 10:00:00");
    EXPECT_EQ(general_date_text({1853, 3, 30, 4, 55, 8}), "1853/03/30 4:55:08");
    EXPECT_EQ(general_date_text({2026, 1, 2, 0, 0, 0}), "2026/01/02");
    EXPECT_EQ(general_date_text({2026, 1, 2, 0, 0, 1}), "2026/01/02 0:00:01");
}

} // namespace
} // namespace vantora
