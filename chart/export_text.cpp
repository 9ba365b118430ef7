#include "chart/export_text.hpp"

#include <initializer_list>

namespace vantora {
namespace {

/// Appends the parts to out in order.
void append(std::string& out, std::initializer_list<std::string_view> parts) {
    for (const std::string_view part : parts) out += part;
}

} // namespace

std::string export_text(const ChartTexts& s, Sex sex, std::string_view time_stamp) {
    constexpr std::string_view crlf = "\r\n";
    const std::string_view sex_text = sex == Sex::male ? "男" : "女";
    std::string text;
    text.reserve(time_stamp.size() + 600); // the other lines take some 550 bytes at most
    append(text, {time_stamp, "解命", crlf});
    append(text, {"姓名／", crlf});
    append(text, {"生年月日／", s.txtBirthday, "　性別／", sex_text, "　年齢／", s.txtAge, "歳", crlf});
    text.append(10, ' ');
    append(text, {"大運交替／", s.txtKoutai, "  交替年月／", s.txtKoutaiYM, crlf});
    text += crlf;
    append(text,
           {s.yKan, "  ", s.yShi, "（", s.lbl_yZokan, "）    大運  ", s.dun_kan[0], s.dun_shi[0], crlf});
    append(text, {s.mKan, "  ", s.mShi, "（", s.lbl_mZokan, "）     ", s.sai1[0], "    ", s.dun_kan[1],
                  s.dun_shi[1], crlf});
    append(text, {s.dKan, "  ", s.dShi, "（", s.lbl_dZokan, "）     ", s.sai1[1], "   ", s.dun_kan[2],
                  s.dun_shi[2], crlf});
    append(text, {s.hKan, "  ", s.hShi, "（", s.lbl_hZokan, "）     ", s.sai1[2], "   ", s.dun_kan[3],
                  s.dun_shi[3], crlf});
    for (std::size_t k = 3; k <= 9; ++k) {
        text.append(17, ' ');
        append(text, {s.sai1[k], "   ", s.dun_kan[k + 1], s.dun_shi[k + 1], crlf});
    }
    text += "備考／";
    return text;
}

} // namespace vantora
