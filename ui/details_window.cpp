#include "ui/details_window.hpp"

#include "chart/details.hpp"
#include "chart/readings_ahead.hpp"
#include "chart/summer_time.hpp"
#include "core/names.hpp"
#include "ui/form_kit.hpp"
#include "ui/ui_common.hpp"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace vantora::ui {

namespace {

// Geometry in twips. Every block runs right to left with its row headings at the right edge; the
// months and days panel stands to the right of the chart.
constexpr int kChartWidth = 7800;
constexpr int kPanelWidth = 6900;
constexpr int kClientWidth = kChartWidth + kPanelWidth;
/// The charts and panel above, and below them one row naming the rules used and any notice.
constexpr int kContentHeight = 9690, kNoteRowHeight = 270;
constexpr int kClientHeight = kContentHeight + kNoteRowHeight;
constexpr int kMargin = 150;
constexpr int kHeadingLeft = 6450, kHeadingWidth = kChartWidth - kMargin - kHeadingLeft;

/// The four pillar columns: year at the right … hour at the left.
constexpr int kPillarWidth = 780;
constexpr std::array<int, 4> kPillarLeft{5550, 4770, 3990, 3210};
constexpr int kPillarTitleTop = 540, kKanTop = 810, kShiTop = 1140, kZokanTop = 1470, kPillarRuleTop = 1800,
              kTsuhenTop = 1860, kZtsuhenTop = 2130, kJuniunTop = 2400, kKubouTop = 2670;

/// The luck and annual columns: column 0 at the right.
constexpr int kCycleWidth = 540;
constexpr int kCycleFirstLeft = 5880;
/// The natal relations under the pillars: four lines.
constexpr int kRelationsTop = 3000, kRelationsHeight = 1080;
constexpr std::size_t kRelationsPerLine = 3;
constexpr int kLuckTop = 4200, kAnnualTop = 6960; ///< the rule above each block

/// Rows of a luck or annual block below its rule: title, age or year, stem, branch, ten-god
/// name, stage, void mark (tops relative to the rule, heights).
constexpr int kTitleRow = 60, kHeadRow = 360, kKanRow = 630, kShiRow = 930, kTsuhenRow = 1230,
              kJuniunRow = 1500, kKubouRow = 1770, kKankeiRow = 2040;
/// The relations row: up to four kinds, two to a line.
constexpr int kKankeiHeight = 570;
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

/// The kinds a cycle pillar makes with the natal chart, each once, in a cell; the relations in full
/// as its tool tip.
void show_relation_marks(QLabel* cell, const std::vector<Relation>& relations) {
    QStringList kinds, full;
    for (const Relation& r : relations) {
        const QString kind = qtext(relation_kind_text(r.kind));
        if (!kinds.contains(kind)) kinds += kind;
        full += QString::fromStdString(cycle_relation_text(r));
    }
    cell->setText(kinds.join(QLatin1Char(' ')));
    cell->setToolTip(full.join(QLatin1Char(' ')));
}

/// A read-only table of readings with its column titles, rows of one line.
QTableWidget* readings_table(QWidget* parent, const char* name, const QStringList& titles,
                             const QRect& where) {
    auto* table = new QTableWidget(0, static_cast<int>(titles.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(titles);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(twips(255));
    table->horizontalHeader()->setStretchLastSection(true);
    table->setGeometry(where);
    return table;
}

/// The readings of one month or day as the cells after its first: pillar, ten-god name, stage,
/// void mark, relations.
QStringList reading_cells(StemBranch pillar, const CycleReading& r) {
    QString relations;
    for (const Relation& relation : r.relations)
        relations += (relations.isEmpty() ? QString() : QStringLiteral(" ")) +
                     QString::fromStdString(cycle_relation_text(relation));
    return {stem_text(pillar.stem) + branch_text(pillar.branch), qtext(r.stem_god), qtext(r.stage),
            r.is_void ? kVoidMark : QString(), relations};
}

void fill_row(QTableWidget* table, int row, const QStringList& cells, bool bold = false) {
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setToolTip(cells[column]);
        item->setTextAlignment(column + 1 < cells.size() ? Qt::AlignCenter
                                                         : Qt::AlignLeft | Qt::AlignVCenter);
        if (bold) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
        }
        table->setItem(row, column, item);
    }
}

/// A thin horizontal rule across the window.
void rule(QWidget* parent, int top) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twips_rect(kMargin, top, kChartWidth - 2 * kMargin, 30));
}

} // namespace

DetailsWindow::DetailsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmdetails"));
    setAttribute(Qt::WA_DeleteOnClose);
    note_reversed_view(false);
    setFont(gothic_font(9.75));
    setFixedSize(twips(kClientWidth), twips(kClientHeight));
    create_header();
    create_pillars();
    create_summary();
    create_luck_block();
    create_annual_block();
    create_relations();
    create_ahead_panel();
    centre_on_screen(this);
}

void DetailsWindow::note_reversed_view(bool reversed) {
    setWindowTitle(reversed ? QStringLiteral("Vantora詳細（旺の逆転ではなく暦どおりの読み）")
                            : QStringLiteral("Vantora詳細"));
}

void DetailsWindow::create_header() {
    txtBirthday =
        make_label(this, QStringLiteral("txtBirthday"), QString(), twips_rect(kMargin, 120, 4500, 300),
                   pgothic_font(10.5), Qt::AlignLeft | Qt::AlignVCenter);
    Command1 = make_command(this, "Command1", QStringLiteral("閉じる"), {},
                            twips_rect(kClientWidth - kMargin - 750, 90, 750, 330));
    connect(Command1, &QPushButton::clicked, this, &DetailsWindow::Command1_Click);
    lblRules = make_label(
        this, QStringLiteral("lblRules"), QString(),
        twips_rect(kMargin, kContentHeight - kMargin / 2, kClientWidth - 2 * kMargin, kNoteRowHeight),
        pgothic_font(9.75), Qt::AlignLeft | Qt::AlignVCenter);
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
    heading(this, QStringLiteral("関係"), top + kKankeiRow, kRowHeight);

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
        c.kankei = cell("kankei", kKankeiRow, kKankeiHeight, gothic_font(7.5));
        c.kankei->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        c.kankei->setWordWrap(true);
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

void DetailsWindow::create_relations() {
    heading(this, QStringLiteral("関係"), kRelationsTop, kRowHeight);
    lblKankei = make_label(this, QStringLiteral("lblKankei"), QString(),
                           twips_rect(kMargin, kRelationsTop, kHeadingLeft - 2 * kMargin, kRelationsHeight),
                           font(), Qt::AlignLeft | Qt::AlignTop);
    lblKankei->setWordWrap(true);
}

void DetailsWindow::create_ahead_panel() {
    const int left = kChartWidth;
    const int width = kPanelWidth - kMargin;
    make_label(this, QString(), QStringLiteral("月運・日運"),
               twips_rect(left, kPillarTitleTop, 1500, kRowHeight), gothic_font(11.25, true),
               Qt::AlignLeft | Qt::AlignVCenter);
    make_label(this, QString(), QStringLiteral("年"),
               twips_rect(left + 2550, kPillarTitleTop, 300, kRowHeight), font(),
               Qt::AlignLeft | Qt::AlignVCenter);
    spnYear = new QSpinBox(this);
    spnYear->setObjectName(QStringLiteral("spnYear"));
    spnYear->setRange(kFirstBirthYear, kLastBirthYear);
    spnYear->setGeometry(twips_rect(left + 1500, kPillarTitleTop - 30, 1000, 330));
    make_label(this, QString(), QStringLiteral("月の日運"),
               twips_rect(left + 4050, kPillarTitleTop, 1200, kRowHeight), font(),
               Qt::AlignLeft | Qt::AlignVCenter);
    cboMonth = new QComboBox(this);
    cboMonth->setObjectName(QStringLiteral("cboMonth"));
    for (int m = 1; m <= 12; ++m) cboMonth->addItem(QString::number(m));
    cboMonth->setGeometry(twips_rect(left + 3150, kPillarTitleTop - 30, 850, 330));

    tblMonths =
        readings_table(this, "tblMonths", {"月", "節入り", "干支", "通変星", "十二運", "空亡", "関係"},
                       twips_rect(left, kKanTop, width, 3540));
    tblDays =
        readings_table(this, "tblDays", {"日", "干支", "通変星", "十二運", "空亡", "関係"},
                       twips_rect(left, kKanTop + 3660, width, kContentHeight - kKanTop - 3660 - kMargin));
    const QList<int> month_widths{45, 90, 45, 55, 55, 35}, day_widths{55, 45, 55, 55, 35};
    for (int k = 0; k < month_widths.size(); ++k) tblMonths->setColumnWidth(k, month_widths[k]);
    for (int k = 0; k < day_widths.size(); ++k) tblDays->setColumnWidth(k, day_widths[k]);

    connect(spnYear, &QSpinBox::valueChanged, this, &DetailsWindow::spnYear_Change);
    connect(cboMonth, &QComboBox::currentIndexChanged, this, &DetailsWindow::cboMonth_Click);
}

void DetailsWindow::spnYear_Change() {
    tblMonths->setRowCount(0);
    if (content_ && content_->tables) {
        const auto months = months_of_year(content_->chart, spnYear->value(), *content_->tables);
        const std::size_t count = months ? months->size() : 0;
        tblMonths->setRowCount(static_cast<int>(count));
        for (std::size_t k = 0; k < count; ++k) {
            const MonthReading& m = (*months)[k];
            const ClockMinute& t = m.term_start;
            QStringList cells{branch_text(m.pillar.branch) + QStringLiteral("月"),
                              QStringLiteral("%1/%2 %3:%4")
                                  .arg(t.month)
                                  .arg(t.day)
                                  .arg(t.hour, 2, 10, QLatin1Char('0'))
                                  .arg(t.minute, 2, 10, QLatin1Char('0'))};
            cells += reading_cells(m.pillar, m);
            fill_row(tblMonths, static_cast<int>(k), cells);
        }
    }
    cboMonth_Click();
}

void DetailsWindow::cboMonth_Click() {
    tblDays->setRowCount(0);
    if (!content_) return;
    const auto days =
        days_of_month(content_->chart, spnYear->value(), cboMonth->currentIndex() + 1, content_->now);
    tblDays->setRowCount(static_cast<int>(days.size()));
    for (std::size_t k = 0; k < days.size(); ++k) {
        const DayReading& d = days[k];
        QStringList cells{d.today ? QStringLiteral("%1 今日").arg(d.day) : QString::number(d.day)};
        cells += reading_cells(d.pillar, d);
        fill_row(tblDays, static_cast<int>(k), cells, d.today);
    }
}

void DetailsWindow::show_details(const DetailsContent& content) {
    const Chart& c = content.chart;
    const ChartDetails d = chart_details(c, content.now);
    const ChartTexts& t = c.texts;
    txtBirthday->setText(QString::fromStdString(t.txtBirthday));
    QStringList notes{qtext(applied_rules_text(c.rules))};
    if (c.summer_time_notice) notes << qtext(kSummerTimeNotice);
    notes.removeAll(QString());
    lblRules->setText(notes.join(QStringLiteral("　")));

    const std::array<std::array<const std::string*, 3>, 4> shown{{{&t.yKan, &t.yShi, &t.lbl_yZokan},
                                                                  {&t.mKan, &t.mShi, &t.lbl_mZokan},
                                                                  {&t.dKan, &t.dShi, &t.lbl_dZokan},
                                                                  {&t.hKan, &t.hShi, &t.lbl_hZokan}}};
    for (std::size_t k = 0; k < pillars_.size(); ++k) {
        PillarColumn& column = pillars_[k];
        const PillarDetails& p = d.pillars[k];
        column.kan->setText(QString::fromStdString(*shown[k][0]));
        column.shi->setText(QString::fromStdString(*shown[k][1]));
        // Hidden stems counted by days name their part (余気 中気 本気).
        column.zokan->setText(QString::fromStdString(*shown[k][2]) +
                              qtext(hidden_part_name(c.hidden_parts[k])));
        column.tsuhen->setText(qtext(p.stem_god));
        column.ztsuhen->setText(qtext(p.hidden_god));
        column.juniun->setText(qtext(p.stage));
        column.kubou->setText(p.is_void ? kVoidMark : QString());
    }

    lblNisshu->setText(QString::fromStdString(t.dKan));
    lblKubou->setText(QString::fromStdString(void_pair_text(d.void_pair)));
    lblJunGyaku->setText(c.luck_forward ? QStringLiteral("順行") : QStringLiteral("逆行"));
    txtKoutai->setText(QString::fromStdString(t.txtKoutai));

    const std::optional<std::string> early = early_change_age_text(c);
    for (std::size_t k = 0; k < kLuckPillarCount; ++k) {
        CycleColumn& column = dun_[k];
        const LuckDetails& l = d.luck[k];
        // Pillar 0 runs from the birth; pillar k from the start age of sai1(k − 1).
        // A first change before age 1 starts pillar 1 at its months, not at a second "0".
        const std::string& start = k == 1 && early ? *early : t.sai1[k > 0 ? k - 1 : 0];
        column.head->setText(k == 0 ? QStringLiteral("0") : QString::fromStdString(start));
        column.kan->setText(QString::fromStdString(t.dun_kan[k]));
        column.shi->setText(QString::fromStdString(t.dun_shi[k]));
        column.tsuhen->setText(qtext(l.stem_god));
        column.juniun->setText(qtext(l.stage));
        column.kubou->setText(l.is_void ? kVoidMark : QString());
        show_relation_marks(column.kankei, l.relations);
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
        show_relation_marks(column.kankei, a.relations);
    }

    // The natal relations three to a line, each kept whole.
    QString natal;
    for (std::size_t k = 0; k < d.relations.size(); ++k) {
        if (k % kRelationsPerLine == 0) natal += QStringLiteral("<tr>");
        natal += QStringLiteral("<td width=\"33%\">%1</td>")
                     .arg(QString::fromStdString(natal_relation_text(d.relations[k])).toHtmlEscaped());
    }
    lblKankei->setText(d.relations.empty() ? QStringLiteral("なし")
                                           : QStringLiteral("<table width=\"100%\">%1</table>").arg(natal));

    // The months and days start from the present year and month, read against this chart.
    content_ = content;
    const QSignalBlocker year_blocker(spnYear), month_blocker(cboMonth);
    spnYear->setValue(content.now.year);
    cboMonth->setCurrentIndex(content.now.month - 1);
    spnYear_Change();
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
