#include "ui/popup_window.hpp"

#include "ui/ui_common.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vantora::ui {

namespace {

/// Left edges of the eleven luck-pillar columns, twips; column 0 (the month pillar) is at the
/// right, column 10 at the left.
constexpr std::array<int, kLuckPillarCount> kColumnLeft{4065, 3660, 3270, 2865, 2475, 2070,
                                                        1680, 1275, 885,  480,  90};
/// Left edges of the wavy-stroke pictures of the same columns, twips (399 twips apart).
constexpr std::array<int, kLuckPillarCount> kPictureLeft{4065, 3666, 3267, 2868, 2469, 2070,
                                                         1671, 1272, 873,  474,  75};

/// Twips from the top of the client area to each row of the luck-pillar block.
constexpr int kStartAgeTop = 1890;
constexpr int kPictureTop = 2145;
constexpr int kEndAgeTop = 2430;
constexpr int kStemTop = 2805;
constexpr int kBranchTop = 3075;

/// The caption of a pillar label until the first copy.
const QString kPlaceholder = QStringLiteral("□");

QLabel* make_label(QWidget* parent, const QString& name, const QString& caption, QRect where,
                   const QFont& font, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(where);
    label->setFont(font);
    label->setAlignment(alignment);
    return label;
}

QLabel* make_static_label(QWidget* parent, const char* name, const QString& caption, QRect where) {
    return make_label(parent, QString::fromLatin1(name), caption, where, parent->font());
}

QLineEdit* make_field(QWidget* parent, const char* name, QRect where, bool editable,
                      Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setGeometry(where);
    field->setFont(pgothic_font(9.75));
    field->setReadOnly(!editable);
    field->setAlignment(alignment);
    // Display fields without a frame, on the button face, so that a 13-pixel box holds its line.
    field->setFrame(false);
    field->setTextMargins(0, 0, 0, 0);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    field->setPalette(palette);
    return field;
}

/// A display field shows its text from the start, as a label would, even where the text is wider.
void copy_text(QLineEdit* target, const std::string& text) {
    target->setText(QString::fromStdString(text));
    target->setCursorPosition(0);
}

void copy_caption(QLabel* target, const std::string& caption) {
    target->setText(QString::fromStdString(caption));
}

void copy_caption_and_bold(QLabel* target, const std::string& caption, bool bold) {
    copy_caption(target, caption);
    QFont font = target->font();
    font.setBold(bold);
    target->setFont(font);
}

} // namespace

frmpop01::frmpop01(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmpop01"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("VantoraPopUp"));
    setFont(pgothic_font(9));
    setFixedSize(twips(4650), twips(3495));
    create_header();
    create_pillars();
    create_luck_block();
    centre_on_screen(this);
}

void frmpop01::create_header() {
    make_static_label(this, "Label7", QStringLiteral("誕生日："), twips_rect(105, 120, 885, 180));
    txtBirthday = make_field(this, "txtBirthday", twips_rect(795, 120, 2730, 195), false);
    txtMW = make_field(this, "txtMW", twips_rect(3540, 120, 210, 195), true, Qt::AlignCenter);
    Command1 = new QPushButton(QStringLiteral("CLOSE"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips_rect(3825, 75, 750, 300));
    connect(Command1, &QPushButton::clicked, this, &frmpop01::Command1_Click);

    make_static_label(this, "Label9", QStringLiteral("大運交替："), twips_rect(105, 480, 855, 180));
    txtKoutai = make_field(this, "txtKoutai", twips_rect(930, 480, 1785, 195), false);
    make_static_label(this, "Label10", QStringLiteral("交替年月："), twips_rect(105, 840, 855, 180));
    txtKoutaiYM = make_field(this, "txtKoutaiYM", twips_rect(930, 840, 900, 195), false);
    make_static_label(this, "Label8", QStringLiteral("視黄経："), twips_rect(105, 1200, 690, 180));
    // Wider than designed (1680 twips): fifteen digits of IPAPGothic would lose their last two.
    txtKoukei = make_field(this, "txtKoukei", twips_rect(795, 1200, 2100, 195), false);
    make_static_label(this, "Label16", QStringLiteral("満年齢："), twips_rect(105, 1560, 675, 180));
    txtAge = make_field(this, "txtAge", twips_rect(795, 1560, 330, 195), false, Qt::AlignCenter);
    make_static_label(this, "Label15", QStringLiteral("歳"), twips_rect(1170, 1560, 210, 180));
}

void frmpop01::create_pillars() {
    const QFont pillar_font = pgothic_font(12, true);
    const QFont hidden_font = pgothic_font(11.25);
    const auto pillar = [&](const char* name, int left, int top) {
        return make_label(this, QString::fromLatin1(name), kPlaceholder, twips_rect(left, top, 255, 255),
                          pillar_font);
    };
    const auto hidden = [&](const char* name, int left) {
        return make_label(this, QString::fromLatin1(name), kPlaceholder, twips_rect(left, 1185, 195, 225),
                          hidden_font);
    };
    yKan = pillar("yKan", 4290, 465);
    yShi = pillar("yShi", 4290, 870);
    lbl_yZokan = hidden("lbl_yZokan", 4305);
    mKan = pillar("mKan", 3840, 465);
    mShi = pillar("mShi", 3840, 870);
    lbl_mZokan = hidden("lbl_mZokan", 3855);
    dKan = pillar("dKan", 3390, 465);
    dShi = pillar("dShi", 3390, 870);
    lbl_dZokan = hidden("lbl_dZokan", 3420);
    hKan = pillar("hKan", 2940, 465);
    hShi = pillar("hShi", 2940, 870);
    lbl_hZokan = hidden("lbl_hZokan", 2955);

    lblOu = make_label(this, QStringLiteral("lblOu"), kPlaceholder, twips_rect(3870, 1470, 255, 240), font());
    make_static_label(this, "Label11", QStringLiteral("旺"), twips_rect(3870, 1695, 210, 240));
    const QFont heading_font = gothic_font(11.25, true);
    make_label(this, QStringLiteral("Label2"), QStringLiteral("大"), twips_rect(4335, 1695, 255, 255),
               heading_font);
    make_label(this, QStringLiteral("Label3"), QStringLiteral("運"), twips_rect(4335, 1965, 255, 300),
               heading_font);
}

void frmpop01::create_luck_block() {
    const QFont age_font = gothic_font(12);
    const QFont pillar_font = pgothic_font(12);
    const QPixmap wave = data_picture(QStringLiteral("wave.png"));
    const auto left_aligned = Qt::AlignLeft | Qt::AlignTop;
    const auto centred = Qt::AlignHCenter | Qt::AlignTop;

    for (std::size_t k = 0; k < kLuckPillarCount; ++k) {
        const int left = kColumnLeft[k];
        const bool last = k + 1 == kLuckPillarCount;
        // The last column's ages may have three digits: a wider box starting further left.
        const int age_left = last ? 45 : left;

        if (k > 0) {
            const std::size_t i = k - 1;
            sai1[i] = make_label(this, QStringLiteral("sai1_%1").arg(i), QString(),
                                 twips_rect(age_left, kStartAgeTop, last ? 330 : 255, 255), age_font,
                                 i == 0 || i == 9 ? centred : left_aligned);
        }

        // Column 0 carries Picture10, columns 1..9 Picture1..Picture9, column 10 Picture11.
        const int picture_number = k == 0 ? 10 : static_cast<int>(k == 10 ? 11 : k);
        QLabel* picture =
            make_label(this, QStringLiteral("Picture%1").arg(picture_number), QString(),
                       twips_rect(kPictureLeft[k], kPictureTop, 240, 240), font(), Qt::AlignCenter);
        picture->setPixmap(wave);

        sai2[k] = make_label(this, QStringLiteral("sai2_%1").arg(k), QString(),
                             twips_rect(age_left, kEndAgeTop, last ? 330 : 270, 255), age_font,
                             k == 0 || k == 1 || last ? centred : left_aligned);
        dun_kan[k] = make_label(this, QStringLiteral("dun_kan_%1").arg(k), kPlaceholder,
                                twips_rect(left, k == 2 ? 2820 : kStemTop, 270, 255), pillar_font);
        dun_shi[k] = make_label(this, QStringLiteral("dun_shi_%1").arg(k), kPlaceholder,
                                twips_rect(left, kBranchTop, 270, 285), pillar_font);
    }
}

void frmpop01::copy_chart(const PopupContent& content) {
    const ChartTexts& shown = content.texts;
    copy_text(txtBirthday, shown.txtBirthday);
    copy_text(txtKoutai, shown.txtKoutai);
    copy_text(txtKoutaiYM, shown.txtKoutaiYM);
    copy_text(txtKoukei, shown.txtKoukei);
    copy_text(txtAge, shown.txtAge);

    copy_caption(yKan, shown.yKan);
    copy_caption(yShi, shown.yShi);
    copy_caption(mKan, shown.mKan);
    copy_caption(mShi, shown.mShi);
    copy_caption(dKan, shown.dKan);
    copy_caption(dShi, shown.dShi);
    copy_caption(hKan, shown.hKan);
    copy_caption(hShi, shown.hShi);
    copy_caption(lblOu, shown.lblOu);
    copy_caption(lbl_yZokan, shown.lbl_yZokan);
    copy_caption(lbl_mZokan, shown.lbl_mZokan);
    copy_caption(lbl_dZokan, shown.lbl_dZokan);
    copy_caption(lbl_hZokan, shown.lbl_hZokan);

    for (std::size_t i = 0; i < sai1.size(); ++i) copy_caption(sai1[i], shown.sai1[i]);
    for (std::size_t k = 0; k < sai2.size(); ++k) copy_caption(sai2[k], shown.sai2[k]);
    for (std::size_t k = 0; k < kLuckPillarCount; ++k) {
        copy_caption_and_bold(dun_kan[k], shown.dun_kan[k], content.dun_kan_bold[k]);
    }
    for (std::size_t k = 0; k < kLuckPillarCount; ++k) {
        copy_caption_and_bold(dun_shi[k], shown.dun_shi[k], content.dun_shi_bold[k]);
    }

    txtMW->setText(content.male ? QStringLiteral("男") : QStringLiteral("女"));
}

void frmpop01::Command1_Click() {
    hide();
}

} // namespace vantora::ui
