#include "ui/details_window.hpp"

#include "chart/details.hpp"
#include "core/names.hpp"
#include "ui/form_kit.hpp"
#include "ui/ui_common.hpp"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace vantora::ui {

namespace {

// Geometry in twips. Every block runs right to left with its row headings at the right edge.
constexpr int kClientWidth = 7800;
constexpr int kClientHeight = 7410;
constexpr int kMargin = 150;
constexpr int kHeadingLeft = 6450, kHeadingWidth = kClientWidth - kMargin - kHeadingLeft;

/// The four pillar columns: year at the right … hour at the left.
constexpr int kPillarWidth = 780;
constexpr std::array<int, 4> kPillarLeft{5550, 4770, 3990, 3210};
constexpr int kPillarTitleTop = 540, kKanTop = 810, kShiTop = 1140, kZokanTop = 1470, kPillarRuleTop = 1800,
              kTsuhenTop = 1860, kZtsuhenTop = 2130, kJuniunTop = 2400, kKubouTop = 2670;

/// The luck and annual columns: column 0 at the right.
constexpr int kCycleWidth = 540;
constexpr int kCycleFirstLeft = 5880;
constexpr int kLuckTop = 3060, kAnnualTop = 5220; ///< the rule above each block

/// Rows of a luck or annual block below its rule: title, age or year, stem, branch, ten-god
/// name, stage, void mark (tops relative to the rule, heights).
constexpr int kTitleRow = 60, kHeadRow = 360, kKanRow = 630, kShiRow = 930, kTsuhenRow = 1230,
              kJuniunRow = 1500, kKubouRow = 1770;
constexpr int kRowHeight = 270, kPillarRowHeight = 300;

/// The mark under a pillar whose branch is in the void pair.
const QString kVoidMark = QStringLiteral("○");

QString stem_text(int stem) {
    return qtext(stem_name.at(static_cast<std::size_t>(stem)));
}
QString branch_text(int branch) {
    return qtext(branch_name.at(static_cast<std::size_t>(branch)));
}

/// Every cell's caption until the first chart: the placeholder of an unknown stem.
const QString kPlaceholder = stem_text(0);

/// A row heading at the right edge, in a quieter colour than the readings.
QLabel* heading(QWidget* parent, const QString& text, int top, int height, bool title = false) {
    QLabel* label =
        make_label(parent, QString(), text, twips_rect(kHeadingLeft, top, kHeadingWidth, height),
                   title ? gothic_font(11.25, true) : gothic_font(9), Qt::AlignRight | Qt::AlignVCenter);
    if (!title) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
        label->setPalette(palette);
    }
    return label;
}

/// A thin horizontal rule across the window.
void rule(QWidget* parent, int top) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twips_rect(kMargin, top, kClientWidth - 2 * kMargin, 30));
}

} // namespace

DetailsWindow::DetailsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmdetails"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Vantora詳細"));
    setFont(gothic_font(9.75));
    setFixedSize(twips(kClientWidth), twips(kClientHeight));
    create_header();
    create_pillars();
    create_summary();
    create_luck_block();
    create_annual_block();
    centre_on_screen(this);
}

void DetailsWindow::create_header() {
    txtBirthday =
        make_label(this, QStringLiteral("txtBirthday"), QString(), twips_rect(kMargin, 120, 4500, 300),
                   pgothic_font(10.5), Qt::AlignLeft | Qt::AlignVCenter);
    Command1 = make_command(this, "Command1", QStringLiteral("CLOSE"), {},
                            twips_rect(kClientWidth - kMargin - 750, 90, 750, 330));
    connect(Command1, &QPushButton::clicked, this, &DetailsWindow::Command1_Click);
}

void DetailsWindow::create_pillars() {
    heading(this, QStringLiteral("四柱"), kPillarTitleTop, kRowHeight, true);
    heading(this, QStringLiteral("天干"), kKanTop, 330);
    heading(this, QStringLiteral("地支"), kShiTop, 330);
    heading(this, QStringLiteral("蔵干"), kZokanTop, kPillarRowHeight);
    rule(this, kPillarRuleTop);
    heading(this, QStringLiteral("通変星"), kTsuhenTop, kRowHeight);
    heading(this, QStringLiteral("蔵干通変星"), kZtsuhenTop, kRowHeight);
    heading(this, QStringLiteral("十二運"), kJuniunTop, kRowHeight);
    heading(this, QStringLiteral("空亡"), kKubouTop, kRowHeight);

    static constexpr const char* kPrefix[] = {"y", "m", "d", "h"};
    static constexpr const char* kTitle[] = {"年柱", "月柱", "日柱", "時柱"};
    const QFont pillar_font = pgothic_font(12, true);
    const QFont hidden_font = pgothic_font(11.25);
    for (std::size_t k = 0; k < pillars_.size(); ++k) {
        const int left = kPillarLeft[k];
        const QString p = QString::fromLatin1(kPrefix[k]);
        const auto cell = [&](const QString& name, int top, int height, const QFont& font) {
            return make_label(this, name, kPlaceholder, twips_rect(left, top, kPillarWidth, height), font);
        };
        make_label(this, QString(), QString::fromUtf8(kTitle[k]),
                   twips_rect(left, kPillarTitleTop, kPillarWidth, kRowHeight), font());
        PillarColumn& c = pillars_[k];
        c.kan = cell(p + "Kan", kKanTop, 330, pillar_font);
        c.shi = cell(p + "Shi", kShiTop, 330, pillar_font);
        c.zokan = cell("lbl_" + p + "Zokan", kZokanTop, kPillarRowHeight, hidden_font);
        c.tsuhen = cell("lbl_" + p + "Tsuhen", kTsuhenTop, kRowHeight, font());
        c.ztsuhen = cell("lbl_" + p + "zTsuhen", kZtsuhenTop, kRowHeight, font());
        c.juniun = cell("lbl_" + p + "Juniun", kJuniunTop, kRowHeight, font());
        c.kubou = cell("lbl_" + p + "Kubou", kKubouTop, kRowHeight, font());
        c.kubou->clear();
    }
}

void DetailsWindow::create_summary() {
    const auto caption = [this](const QString& text, int top) {
        make_label(this, QString(), text, twips_rect(kMargin, top, 900, 330), font(),
                   Qt::AlignLeft | Qt::AlignVCenter);
    };
    const auto value = [this](const char* name, int top, const QFont& font) {
        return make_label(this, QString::fromLatin1(name), kPlaceholder,
                          twips_rect(kMargin + 900, top, 1950, 330), font, Qt::AlignLeft | Qt::AlignVCenter);
    };
    caption(QStringLiteral("日主"), kKanTop);
    lblNisshu = value("lblNisshu", kKanTop, pgothic_font(12, true));
    caption(QStringLiteral("空亡"), kShiTop);
    lblKubou = value("lblKubou", kShiTop, pgothic_font(12, true));
    caption(QStringLiteral("大運"), kTsuhenTop);
    lblJunGyaku = value("lblJunGyaku", kTsuhenTop, font());
    caption(QStringLiteral("大運交替"), kZtsuhenTop);
    txtKoutai = value("txtKoutai", kZtsuhenTop, font());
}

template <std::size_t N>
void DetailsWindow::create_cycle_block(std::array<CycleColumn, N>& columns, const char* prefix,
                                       const char* head_name, int top, const QString& title,
                                       const QString& first_heading) {
    rule(this, top);
    heading(this, title, top + kTitleRow, kPillarRowHeight, true);
    heading(this, first_heading, top + kHeadRow, kRowHeight);
    heading(this, QStringLiteral("天干"), top + kKanRow, kPillarRowHeight);
    heading(this, QStringLiteral("地支"), top + kShiRow, kPillarRowHeight);
    heading(this, QStringLiteral("通変星"), top + kTsuhenRow, kRowHeight);
    heading(this, QStringLiteral("十二運"), top + kJuniunRow, kRowHeight);
    heading(this, QStringLiteral("空亡"), top + kKubouRow, kRowHeight);

    const QFont pillar_font = pgothic_font(12);
    for (std::size_t k = 0; k < N; ++k) {
        const int left = kCycleFirstLeft - static_cast<int>(k) * kCycleWidth;
        const auto cell = [&](const char* row, int row_top, int height, const QFont& font) {
            return make_label(this, QStringLiteral("%1_%2_%3").arg(prefix, row).arg(k), QString(),
                              twips_rect(left, top + row_top, kCycleWidth, height), font);
        };
        CycleColumn& c = columns[k];
        c.head = cell(head_name, kHeadRow, kRowHeight, font());
        c.kan = cell("kan", kKanRow, kPillarRowHeight, pillar_font);
        c.shi = cell("shi", kShiRow, kPillarRowHeight, pillar_font);
        c.tsuhen = cell("tsuhen", kTsuhenRow, kRowHeight, font());
        c.juniun = cell("juniun", kJuniunRow, kRowHeight, font());
        c.kubou = cell("kubou", kKubouRow, kRowHeight, font());
    }
}

void DetailsWindow::create_luck_block() {
    create_cycle_block(dun_, "dun", "sai", kLuckTop, QStringLiteral("大運"), QStringLiteral("年齢"));
}

void DetailsWindow::create_annual_block() {
    create_cycle_block(nen_, "nen", "year", kAnnualTop, QStringLiteral("年運"), QStringLiteral("年"));
    make_label(this, QStringLiteral("lblRisshun"),
               QStringLiteral("各年の干支は、その年の立春（2月4日頃）から始まります。"),
               twips_rect(kMargin, kAnnualTop + kTitleRow, kHeadingLeft - 2 * kMargin, kPillarRowHeight),
               font(), Qt::AlignLeft | Qt::AlignVCenter);
}

void DetailsWindow::show_details(const DetailsContent& content) {
    const Chart& c = content.chart;
    const ChartDetails d = chart_details(c, content.now);
    const ChartTexts& t = c.texts;
    txtBirthday->setText(QString::fromStdString(t.txtBirthday));

    const std::array<std::array<const std::string*, 3>, 4> shown{{{&t.yKan, &t.yShi, &t.lbl_yZokan},
                                                                  {&t.mKan, &t.mShi, &t.lbl_mZokan},
                                                                  {&t.dKan, &t.dShi, &t.lbl_dZokan},
                                                                  {&t.hKan, &t.hShi, &t.lbl_hZokan}}};
    for (std::size_t k = 0; k < pillars_.size(); ++k) {
        PillarColumn& column = pillars_[k];
        const PillarDetails& p = d.pillars[k];
        column.kan->setText(QString::fromStdString(*shown[k][0]));
        column.shi->setText(QString::fromStdString(*shown[k][1]));
        column.zokan->setText(QString::fromStdString(*shown[k][2]));
        column.tsuhen->setText(qtext(p.stem_god));
        column.ztsuhen->setText(qtext(p.hidden_god));
        column.juniun->setText(qtext(p.stage));
        column.kubou->setText(p.is_void ? kVoidMark : QString());
    }

    lblNisshu->setText(QString::fromStdString(t.dKan));
    lblKubou->setText(QString::fromStdString(void_pair_text(d.void_pair)));
    lblJunGyaku->setText(c.luck_forward ? QStringLiteral("順行") : QStringLiteral("逆行"));
    txtKoutai->setText(QString::fromStdString(t.txtKoutai));

    for (std::size_t k = 0; k < kLuckPillarCount; ++k) {
        CycleColumn& column = dun_[k];
        const LuckDetails& l = d.luck[k];
        // Pillar 0 runs from the birth; pillar k from the start age of sai1(k − 1).
        column.head->setText(k == 0 ? QStringLiteral("0") : QString::fromStdString(t.sai1[k - 1]));
        column.kan->setText(QString::fromStdString(t.dun_kan[k]));
        column.shi->setText(QString::fromStdString(t.dun_shi[k]));
        column.tsuhen->setText(qtext(l.stem_god));
        column.juniun->setText(qtext(l.stage));
        column.kubou->setText(l.is_void ? kVoidMark : QString());
        const bool current = c.current_luck == static_cast<int>(k);
        set_bold(column.kan, current);
        set_bold(column.shi, current);
    }

    for (std::size_t k = 0; k < nen_.size(); ++k) {
        CycleColumn& column = nen_[k];
        const AnnualPillar& a = d.years[k];
        column.head->setText(QString::number(a.year));
        column.kan->setText(stem_text(a.stem));
        column.shi->setText(branch_text(a.branch));
        column.tsuhen->setText(qtext(a.stem_god));
        column.juniun->setText(qtext(a.stage));
        column.kubou->setText(a.is_void ? kVoidMark : QString());
    }
}

void DetailsWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void DetailsWindow::Command1_Click() {
    hide();
}

} // namespace vantora::ui
