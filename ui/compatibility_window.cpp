#include "ui/compatibility_window.hpp"

#include "chart/compatibility.hpp"
#include "chart/details.hpp"
#include "ui/chart_print.hpp"
#include "ui/form_kit.hpp"
#include "ui/ui_common.hpp"

#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantora::ui {
namespace {

/// The rows of a person's block, top to bottom.
constexpr std::array<const char*, 7> kRowTitles{"天干",       "地支",   "蔵干", "通変星",
                                                "蔵干通変星", "十二運", "空亡"};
constexpr std::array<const char*, 4> kColumnTitles{"時柱", "日柱", "月柱", "年柱"};
/// Left to right on the window, as on the printed chart: hour, day, month, year.
constexpr std::array<PillarPlace, 4> kColumnPlaces{kHourPillar, kDayPillar, kMonthPillar, kYearPillar};

QLabel* cell(QWidget* parent, const QString& name, const QFont& font) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

/// The relation lines three to a row, each kept whole.
QString relation_table(const std::vector<std::string>& lines) {
    constexpr std::size_t kPerRow = 3;
    if (lines.empty()) return QStringLiteral("なし");
    QString rows;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k % kPerRow == 0) rows += QStringLiteral("<tr>");
        rows +=
            QStringLiteral("<td width=\"33%\">%1</td>").arg(QString::fromStdString(lines[k]).toHtmlEscaped());
    }
    return QStringLiteral("<table width=\"100%\" cellspacing=\"2\">%1</table>").arg(rows);
}

} // namespace

CompatibilityWindow::CompatibilityWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmaisho"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("相性"));
    setFont(pgothic_font(9.75));
    create_controls();
    centre_on_screen(this);
}

CompatibilityWindow::PersonBlock CompatibilityWindow::create_person_block(QGridLayout* grid, int first_column,
                                                                          const char* prefix) {
    PersonBlock block{};
    const QString p = QString::fromLatin1(prefix);
    block.name = cell(this, p + "Name", pgothic_font(12, true));
    block.birth = cell(this, p + "Birthday", font());
    grid->addWidget(block.name, 0, first_column, 1, 4);
    grid->addWidget(block.birth, 1, first_column, 1, 4);
    for (int c = 0; c < 4; ++c) {
        QLabel* title = cell(this, QString(), gothic_font(9));
        title->setText(QString::fromUtf8(kColumnTitles[static_cast<std::size_t>(c)]));
        grid->addWidget(title, 2, first_column + c);
        for (std::size_t r = 0; r < kRowTitles.size(); ++r) {
            const QFont f = r < 2 ? pgothic_font(16, true) : r == 2 ? pgothic_font(11) : font();
            QLabel* label = cell(this, QStringLiteral("%1_%2_%3").arg(p).arg(r).arg(c), f);
            block.cells[static_cast<std::size_t>(c)][r] = label;
            grid->addWidget(label, 3 + static_cast<int>(r), first_column + c);
        }
    }
    return block;
}

void CompatibilityWindow::create_controls() {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(twips(150));
    people_[0] = create_person_block(grid, 0, "a");
    // The row titles between the two blocks.
    for (std::size_t r = 0; r < kRowTitles.size(); ++r) {
        QLabel* title = cell(this, QString(), gothic_font(9));
        title->setText(QString::fromUtf8(kRowTitles[r]));
        QPalette palette = title->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
        title->setPalette(palette);
        grid->addWidget(title, 3 + static_cast<int>(r), 4);
    }
    people_[1] = create_person_block(grid, 5, "b");

    const auto heading = [this](const QString& text) {
        auto* label = new QLabel(text, this);
        label->setFont(gothic_font(11.25, true));
        return label;
    };
    lblKankei = new QLabel(this);
    lblKankei->setObjectName(QStringLiteral("lblKankei"));
    lblKankei->setWordWrap(true);
    lblNikkan = new QLabel(this);
    lblNikkan->setObjectName(QStringLiteral("lblNikkan"));
    lblNikkan->setWordWrap(true);

    btnPrint = make_command(this, "btnPrint", QStringLiteral("印刷..."), {}, {});
    btnPdf = make_command(this, "btnPdf", QStringLiteral("PDFに保存..."), {}, {});
    btnClose = make_command(this, "btnClose", QStringLiteral("閉じる"), {}, {});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {btnPrint, btnPdf, btnClose}) buttons->addWidget(b);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(line);
    layout->addWidget(heading(QStringLiteral("二人の間の関係")));
    layout->addWidget(lblKankei);
    layout->addWidget(heading(QStringLiteral("日干と空亡")));
    layout->addWidget(lblNikkan);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(twips(9600), twips(7800));

    connect(btnPrint, &QPushButton::clicked, this, &CompatibilityWindow::btnPrint_Click);
    connect(btnPdf, &QPushButton::clicked, this, &CompatibilityWindow::btnPdf_Click);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    close_on_escape(this, [this] { close(); });
}

void CompatibilityWindow::show_person(PersonBlock& block, const ComparedPerson& person) {
    const Chart& c = person.chart;
    const ChartTexts& t = c.texts;
    const ChartDetails d = chart_details(c, content_.now);
    block.name->setText(person.name);
    block.birth->setText(QString::fromStdString(t.txtBirthday));
    const std::array<std::array<const std::string*, 3>, 4> shown{{{&t.yKan, &t.yShi, &t.lbl_yZokan},
                                                                  {&t.mKan, &t.mShi, &t.lbl_mZokan},
                                                                  {&t.dKan, &t.dShi, &t.lbl_dZokan},
                                                                  {&t.hKan, &t.hShi, &t.lbl_hZokan}}};
    for (std::size_t col = 0; col < 4; ++col) {
        const PillarPlace place = kColumnPlaces[col];
        const PillarDetails& p = d.pillars[place];
        const QString texts[] = {QString::fromStdString(*shown[place][0]),
                                 QString::fromStdString(*shown[place][1]),
                                 QString::fromStdString(*shown[place][2]),
                                 qtext(p.stem_god),
                                 qtext(p.hidden_god),
                                 qtext(p.stage),
                                 p.is_void ? QStringLiteral("○") : QString()};
        for (std::size_t r = 0; r < kRowTitles.size(); ++r) block.cells[col][r]->setText(texts[r]);
    }
}

void CompatibilityWindow::show_pair(const CompatibilityContent& content) {
    content_ = content;
    show_person(people_[0], content.first);
    show_person(people_[1], content.second);
    const std::string a = content.first.name.toStdString(), b = content.second.name.toStdString();
    const Compatibility c = compare_charts(content.first.chart, content.second.chart);
    std::vector<std::string> relations;
    for (const Relation& r : c.relations) relations.push_back(between_relation_text(r, a, b));
    lblKankei->setText(relation_table(relations));
    QStringList lines;
    for (const std::string& line : compatibility_lines(c, content.first.chart, content.second.chart, a, b))
        lines += QString::fromStdString(line);
    lblNikkan->setText(lines.join(QLatin1Char('\n')));
}

void CompatibilityWindow::btnPrint_Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(chart_page_layout());
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    if (dialog.exec() != QDialog::Accepted) return;
    if (!print_compatibility(printer, content_))
        QMessageBox::warning(this, QStringLiteral("印刷"),
                             QStringLiteral("印刷できませんでした。プリンターの設定を確かめてください。"));
}

void CompatibilityWindow::btnPdf_Click() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("PDFに保存"), QString(),
                                                      QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (const auto failure = save_compatibility_pdf(path, content_))
        QMessageBox::warning(this, QStringLiteral("PDFに保存"), *failure);
}

} // namespace vantora::ui
