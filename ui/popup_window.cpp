#include "ui/popup_window.hpp"

#include "chart/shown_chart.hpp"
#include "ui/form_kit.hpp"
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
/// Client area, twips, and the rows a notice adds below it.
constexpr int kClientWidth = 4800, kClientHeight = 3495, kNoticeHeight = 420;
constexpr int kStartAgeTop = 1890;
constexpr int kPictureTop = 2145;
constexpr int kEndAgeTop = 2430;
constexpr int kStemTop = 2805;
constexpr int kBranchTop = 3075;

/// The caption of a pillar label until the first copy.
const QString kPlaceholder = QStringLiteral("□");

constexpr auto kTopLeft = Qt::AlignLeft | Qt::AlignTop;

QLabel* make_static_label(QWidget* parent, const char* name, const QString& caption, QRect where) {
    return make_label(parent, QString::fromLatin1(name), caption, where, parent->font(), kTopLeft);
}

QLineEdit* make_field(QWidget* parent, const char* name, QRect where,
                      Qt::Alignment alignment = Qt::AlignLeft) {
    QLineEdit* field = make_display_field(parent, name, where, alignment);
    field->setFont(pgothic_font(9.75));
    return field;
}

} // namespace

PopupWindow::PopupWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmpop01"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("VantoraPopUp"));
    setFont(pgothic_font(9));
    setFixedSize(twips(kClientWidth), twips(kClientHeight));
    create_header();
    create_pillars();
    create_luck_block();
    centre_on_screen(this);
    lblNotice = make_label(this, QStringLiteral("lblNotice"), QString(),
                           twips_rect(60, kClientHeight - 30, kClientWidth - 120, kNoticeHeight),
                           pgothic_font(8.25), Qt::AlignLeft | Qt::AlignTop);
    lblNotice->setWordWrap(true);
    lblNotice->hide();
}

void PopupWindow::create_header() {
    make_static_label(this, "Label7", QStringLiteral("誕生日："), twips_rect(105, 120, 885, 180));
    // The longest birth text ("2099年12月31日出生時間不明") fits, and a gap keeps it apart from
    // the sex box; the sex box and CLOSE stand further right than designed to make room.
    make_field(this, "txtBirthday", twips_rect(795, 120, 2805, 195));
    // The sex box is an ordinary editable text box.
    txtMW = make_field(this, "txtMW", twips_rect(3660, 120, 210, 195), Qt::AlignHCenter);
    txtMW->setReadOnly(false);
    Command1 = make_command(this, "Command1", QStringLiteral("CLOSE"), {}, twips_rect(3975, 75, 750, 300));
    connect(Command1, &QPushButton::clicked, this, &PopupWindow::Command1_Click);
    close_on_escape(this, [this] { Command1_Click(); });

    make_static_label(this, "Label9", QStringLiteral("大運交替："), twips_rect(105, 480, 855, 180));
    make_field(this, "txtKoutai", twips_rect(930, 480, 1785, 195));
    make_static_label(this, "Label10", QStringLiteral("交替年月："), twips_rect(105, 840, 855, 180));
    make_field(this, "txtKoutaiYM", twips_rect(930, 840, 900, 195));
    make_static_label(this, "Label8", QStringLiteral("視黄経："), twips_rect(105, 1200, 690, 180));
    // Wider than designed (1680 twips): fifteen digits of IPAPGothic would lose their last two.
    make_field(this, "txtKoukei", twips_rect(795, 1200, 2100, 195));
    make_static_label(this, "Label16", QStringLiteral("満年齢："), twips_rect(105, 1560, 675, 180));
    // Three-digit ages (births before about 1927) fit; "歳" moves right with the box's end.
    make_field(this, "txtAge", twips_rect(795, 1560, 435, 195), Qt::AlignHCenter);
    make_static_label(this, "Label15", QStringLiteral("歳"), twips_rect(1275, 1560, 210, 180));
}

void PopupWindow::create_pillars() {
    const QFont pillar_font = pgothic_font(12, true);
    const QFont hidden_font = pgothic_font(11.25);
    struct Column {
        const char* kan;
        const char* shi;
        const char* zokan;
        int left, zokan_left;
    };
    constexpr Column kColumns[] = {
        {"yKan", "yShi", "lbl_yZokan", 4290, 4305},
        {"mKan", "mShi", "lbl_mZokan", 3840, 3855},
        {"dKan", "dShi", "lbl_dZokan", 3390, 3420},
        {"hKan", "hShi", "lbl_hZokan", 2940, 2955},
    };
    for (const Column& c : kColumns) {
        make_label(this, c.kan, kPlaceholder, twips_rect(c.left, 465, 255, 255), pillar_font, kTopLeft);
        make_label(this, c.shi, kPlaceholder, twips_rect(c.left, 870, 255, 255), pillar_font, kTopLeft);
        make_label(this, c.zokan, kPlaceholder, twips_rect(c.zokan_left, 1185, 195, 225), hidden_font,
                   kTopLeft);
    }

    make_label(this, QStringLiteral("lblOu"), kPlaceholder, twips_rect(3870, 1470, 255, 240), font(),
               kTopLeft);
    make_static_label(this, "Label11", QStringLiteral("旺"), twips_rect(3870, 1695, 210, 240));
    const QFont heading_font = gothic_font(11.25, true);
    make_label(this, QStringLiteral("Label2"), QStringLiteral("大"), twips_rect(4335, 1695, 255, 255),
               heading_font, kTopLeft);
    make_label(this, QStringLiteral("Label3"), QStringLiteral("運"), twips_rect(4335, 1965, 255, 300),
               heading_font, kTopLeft);
}

void PopupWindow::create_luck_block() {
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
            make_label(this, QStringLiteral("sai1_%1").arg(i), QString(),
                       twips_rect(age_left, kStartAgeTop, last ? 330 : 255, 255), age_font,
                       i == 0 || i == 9 ? centred : left_aligned);
        }

        // Column 0 carries Picture10, columns 1..9 Picture1..Picture9, column 10 Picture11.
        const int picture_number = k == 0 ? 10 : static_cast<int>(k == 10 ? 11 : k);
        QLabel* picture =
            make_label(this, QStringLiteral("Picture%1").arg(picture_number), QString(),
                       twips_rect(kPictureLeft[k], kPictureTop, 240, 240), font(), Qt::AlignCenter);
        picture->setPixmap(wave);

        make_label(this, QStringLiteral("sai2_%1").arg(k), QString(),
                   twips_rect(age_left, kEndAgeTop, last ? 330 : 270, 255), age_font,
                   k == 0 || k == 1 || last ? centred : left_aligned);
        make_label(this, QStringLiteral("dun_kan_%1").arg(k), kPlaceholder,
                   twips_rect(left, k == 2 ? 2820 : kStemTop, 270, 255), pillar_font, kTopLeft);
        make_label(this, QStringLiteral("dun_shi_%1").arg(k), kPlaceholder,
                   twips_rect(left, kBranchTop, 270, 285), pillar_font, kTopLeft);
    }
}

void PopupWindow::copy_chart(const PopupContent& content) {
    // Every control of the chart that the pop-up has, by the name it shares with the main window.
    const auto copy = [this](const QString& name, const std::string& text) {
        if (auto* control = findChild<QWidget*>(name)) set_shown_text(control, qtext(text));
    };
    for_each_control(
        content.texts, [&](std::string_view name, const std::string& text) { copy(qtext(name), text); },
        [&](std::string_view row, std::span<const std::string> texts) {
            for (std::size_t i = 0; i < texts.size(); ++i)
                copy(qtext(row) + QStringLiteral("_%1").arg(i), texts[i]);
        });
    for (int k = 0; k < static_cast<int>(kLuckPillarCount); ++k) {
        const bool bold = content.bold_luck == k;
        set_bold(findChild<QWidget*>(QStringLiteral("dun_kan_%1").arg(k)), bold);
        set_bold(findChild<QWidget*>(QStringLiteral("dun_shi_%1").arg(k)), bold);
    }
    txtMW->setText(content.sex == Sex::male ? QStringLiteral("男") : QStringLiteral("女"));
    lblNotice->setText(qtext(content.notice));
    lblNotice->setVisible(!content.notice.empty());
    setFixedSize(twips(kClientWidth), twips(kClientHeight + (content.notice.empty() ? 0 : kNoticeHeight)));
}

void PopupWindow::Command1_Click() {
    hide();
}

} // namespace vantora::ui
