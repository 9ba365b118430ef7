#include "chart/export_text.hpp"

namespace vantora {

std::string export_text(const ChartTexts& s, Sex sex, std::string_view time_stamp) {
    const std::string crlf = "\r\n";
    const std::string sex_text = sex == Sex::male ? "男" : "女";
    std::string text;
    text += std::string(time_stamp) + "解命" + crlf;
    text += "姓名／" + crlf;
    text += "生年月日／" + s.txtBirthday + "　性別／" + sex_text + "　年齢／" + s.txtAge + "歳" + crlf;
    text += std::string(10, ' ') + "大運交替／" + s.txtKoutai + "  交替年月／" + s.txtKoutaiYM + crlf;
    text += crlf;
    text +=
        s.yKan + "  " + s.yShi + "（" + s.lbl_yZokan + "）    大運  " + s.dun_kan[0] + s.dun_shi[0] + crlf;
    text += s.mKan + "  " + s.mShi + "（" + s.lbl_mZokan + "）     " + s.sai1[0] + "    " + s.dun_kan[1] +
            s.dun_shi[1] + crlf;
    text += s.dKan + "  " + s.dShi + "（" + s.lbl_dZokan + "）     " + s.sai1[1] + "   " + s.dun_kan[2] +
            s.dun_shi[2] + crlf;
    text += s.hKan + "  " + s.hShi + "（" + s.lbl_hZokan + "）     " + s.sai1[2] + "   " + s.dun_kan[3] +
            s.dun_shi[3] + crlf;
    for (std::size_t k = 3; k <= 9; ++k) {
        text += std::string(17, ' ') + s.sai1[k] + "   " + s.dun_kan[k + 1] + s.dun_shi[k + 1] + crlf;
    }
    text += "備考／";
    return text;
}

} // namespace vantora
