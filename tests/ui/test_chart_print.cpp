// The printed chart: one A4 page that carries every text of the chart, the heading name when
// given, and a failed write that is reported instead of lost.
#include "ui_test_support.hpp"

#include "chart/compute_chart.hpp"
#include "chart/shown_chart.hpp"
#include "core/term_file.hpp"
#include "ui/chart_print.hpp"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using vantora::ChartTexts;
using vantora::ui::ChartPage;
using vantora::ui::PopupContent;

Q_DECLARE_METATYPE(ChartPage)

namespace {

const vantora::LocalDateTime kPrinted{2026, 12, 8, 10, 0, 0};

/// Content whose every text holds a mark of its own ("#00", "#01", …, none the start of
/// another) that no chart shows; luck pillar 3 bold.
PopupContent marked_content() {
    PopupContent content;
    int n = 0;
    const auto mark = [&n](std::string& text) {
        text = QStringLiteral("#%1").arg(n++, 2, 10, QChar('0')).toStdString();
    };
    vantora::for_each_control(
        content.texts, [&](std::string_view, std::string& text) { mark(text); },
        [&](std::string_view, auto row) {
            for (std::string& text : row) mark(text);
        });
    content.bold_luck = 3;
    content.sex = vantora::Sex::male;
    return content;
}

/// Every text of content, in the order for_each_control gives them.
QStringList texts_of(const ChartTexts& texts) {
    QStringList all;
    vantora::for_each_control(
        texts, [&](std::string_view, const std::string& text) { all << QString::fromStdString(text); },
        [&](std::string_view, auto row) {
            for (const std::string& text : row) all << QString::fromStdString(text);
        });
    return all;
}

/// The page of the computed chart of a birth at 135° E, printed for a person of 札幌市.
ChartPage page_of(int year, int month, int day, std::optional<int> hour, vantora::Sex sex,
                  const vantora::ChartRules& rules = {}) {
    auto loaded = vantora::init_tables();
    const auto& tables = std::get<vantora::TermTables>(loaded);
    vantora::BirthRecord record;
    record.birth_year = year;
    record.birth_month = month;
    record.birth_day = day;
    record.birth_hour = hour.value_or(0);
    record.birth_minute = hour ? 30 : 0;
    record.hour_unknown = !hour;
    record.sex = sex;
    const auto chart = std::get<vantora::Chart>(compute_chart(record, kPrinted, tables, rules));
    const vantora::ShownChart shown = vantora::shown_chart(chart);
    return {
        {shown.texts, shown.bold_luck, record.sex, {}},
        chart,
        kPrinted,
        std::nullopt,
        vantora::ui::birth_place_text(QStringLiteral("札幌市"), QStringLiteral("25"), QStringLiteral("27"))};
}

/// 1985-07-24 06:30, female, or the same day with the hour unknown.
ChartPage real_page(bool hour_known = true) {
    return page_of(1985, 7, 24, hour_known ? std::optional(6) : std::nullopt, vantora::Sex::female);
}

/// A page of the texts alone, as for the reversed view.
ChartPage text_page(const PopupContent& content, const std::optional<QString>& name = std::nullopt) {
    return {content, std::nullopt, kPrinted, name, {}};
}

/// Output of a poppler tool run on a file; fails the test when the tool is missing.
QString poppler(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(tool), process.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class ChartPrintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void pdf_is_one_page_with_every_text_of_the_chart_data();
    void pdf_is_one_page_with_every_text_of_the_chart();
    void saving_where_no_file_can_be_written_reports_the_file();
    void page_at_150_dpi_stays_within_its_margins_data();
    void page_at_150_dpi_stays_within_its_margins();
    void printer_prints_the_same_single_page();

private:
    QTemporaryDir folder;
};

void ChartPrintTest::initTestCase() {
    vantora::ui::testing::prepare_ui_test();
    QVERIFY(folder.isValid());
    if (QStandardPaths::findExecutable("pdftotext").isEmpty() ||
        QStandardPaths::findExecutable("pdfinfo").isEmpty())
        QFAIL("pdftotext and pdfinfo (poppler-utils) are needed");
}

void ChartPrintTest::pdf_is_one_page_with_every_text_of_the_chart_data() {
    QTest::addColumn<ChartPage>("page");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("absent");
    const PopupContent marked = marked_content();
    QTest::newRow("every text marked, no name")
        << text_page(marked) << texts_of(marked.texts) << QStringList();
    QTest::newRow("every text marked, a name")
        << text_page(marked, QStringLiteral("山田花子"))
        << (texts_of(marked.texts) << QStringLiteral("山田花子")) << QStringList();
    // 乙丑 癸未 甲子 丁卯, 土 in season; relations found by hand among the branches.
    const ChartPage real = real_page();
    QTest::newRow("a computed chart")
        << real
        << QStringList{QString::fromStdString(real.chart.texts.txtBirthday) + QStringLiteral("生"),
                       QString::fromStdString(real.chart.texts.txtShin),
                       QString::fromStdString(real.chart.texts.txtKoutai),
                       QStringLiteral("女"),
                       QStringLiteral("札幌市（時差 25分27秒）"),
                       QStringLiteral("土旺"),
                       QStringLiteral("蔵干通変星"),
                       QStringLiteral("年支・日支　丑子　支合"),
                       QStringLiteral("年支・月支　丑未　冲"),
                       QStringLiteral("日支・時支　子卯　刑"),
                       QStringLiteral("2035"),
                       QStringLiteral("丙午"),
                       QStringLiteral("満年齢")}
        << QStringList{QStringLiteral("旺 土")};
    // 1975-03-08 14:30, male: the first luck change at 0 years 8 months ends pillar 0 at "8カ月", read after
    // pillar 1's end age 9.
    QTest::newRow("a luck change before age 1")
        << page_of(1975, 3, 8, 14, vantora::Sex::male)
        << QStringList{QStringLiteral("約0歳8カ月"), QStringLiteral("98カ月")} << QStringList();
    // A chosen rule, named under the birth place.
    vantora::ChartRules day_change;
    day_change.day_change_at_23 = true;
    QTest::newRow("a rule chosen") << page_of(1949, 7, 1, 12, vantora::Sex::male, day_change)
                                   << QStringList{QStringLiteral("適用規則: 23時日替わり")} << QStringList();
    // Expected: the birth line as the window writes it, the hour cells empty but for 不明.
    const ChartPage unknown = real_page(false);
    QTest::newRow("an unknown hour") << unknown
                                     << QStringList{QStringLiteral("1985年7月24日出生時間不明"),
                                                    QStringLiteral("不明")}
                                     << QStringList{QStringLiteral("不明生"), QStringLiteral("□"),
                                                    QStringLiteral("時支")};
}

void ChartPrintTest::pdf_is_one_page_with_every_text_of_the_chart() {
    QFETCH(ChartPage, page);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, absent);
    const QString path = folder.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
    // Action: save the chart as a PDF file.
    const auto failure = vantora::ui::save_chart_pdf(path, page);
    QVERIFY2(!failure, qPrintable(failure.value_or(QString())));
    // Expected: one A4 page that holds every text.
    const QString info = poppler("pdfinfo", {path});
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)")),
             qPrintable(info));
    // The text as poppler reads it, blanks and line breaks (which it puts between boxes) left out.
    const auto unspaced = [](QString text) {
        return text.remove(
            QRegularExpression(QStringLiteral("\\s"), QRegularExpression::UseUnicodePropertiesOption));
    };
    const QString text = unspaced(poppler("pdftotext", {"-enc", "UTF-8", path, "-"}));
    for (const QString& piece : expected)
        QVERIFY2(text.contains(unspaced(piece)), qPrintable(piece + " missing in\n" + text));
    for (const QString& piece : absent)
        QVERIFY2(!text.contains(piece), qPrintable(piece + " found in\n" + text));
}

void ChartPrintTest::saving_where_no_file_can_be_written_reports_the_file() {
    const QString path = folder.filePath("no such folder/chart.pdf");
    const auto failure = vantora::ui::save_chart_pdf(path, text_page(marked_content()));
    QVERIFY(failure);
    QVERIFY2(failure->startsWith(QStringLiteral("PDFを保存できませんでした。")), qPrintable(*failure));
    QVERIFY2(failure->contains(path), qPrintable(*failure));
    QVERIFY(!QFile::exists(path));
}

void ChartPrintTest::page_at_150_dpi_stays_within_its_margins_data() {
    QTest::addColumn<QSizeF>("sheet"); // mm
    QTest::addColumn<QString>("picture");
    QTest::addColumn<ChartPage>("chart");
    QTest::newRow("A4") << QSizeF(210, 297) << QStringLiteral("printed_chart.png") << real_page();
    QTest::newRow("A4, hour unknown")
        << QSizeF(210, 297) << QStringLiteral("printed_chart_unknown_hour.png") << real_page(false);
    // 1961-07-04 14:30 辛丑 甲午 戊戌 己未: ten natal relations, four lines of them.
    QTest::newRow("A4, ten relations") << QSizeF(210, 297) << QStringLiteral("printed_chart_relations.png")
                                       << page_of(1961, 7, 4, 14, vantora::Sex::male);
    // Shorter than the layout: it shrinks to fit.
    QTest::newRow("US Letter") << QSizeF(215.9, 279.4) << QStringLiteral("printed_chart_letter.png")
                               << real_page();
}

void ChartPrintTest::page_at_150_dpi_stays_within_its_margins() {
    QFETCH(QSizeF, sheet);
    QFETCH(QString, picture);
    QFETCH(ChartPage, chart);
    // Action: paint the page on a picture of the sheet at 150 dots per inch, within margins of
    // 18 mm, with the longest heading a chart gives (a name and a birth text with a minute).
    constexpr double kDotsPerMm = 150 / 25.4;
    QImage page(qRound(sheet.width() * kDotsPerMm), qRound(sheet.height() * kDotsPerMm),
                QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(kDotsPerMm * 1000));
    page.setDotsPerMeterY(qRound(kDotsPerMm * 1000));
    page.fill(Qt::white);
    const QRect inside = QRectF(18 * kDotsPerMm, 18 * kDotsPerMm, (sheet.width() - 36) * kDotsPerMm,
                                (sheet.height() - 36) * kDotsPerMm)
                             .toAlignedRect();
    QPainter painter(&page);
    ChartPage named = chart;
    named.name = QStringLiteral("山田花子");
    vantora::ui::paint_chart_page(painter, inside, named);
    painter.end();
    // Expected: ink inside the margins only, down to the footer at the bottom margin.
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (!inside.contains(x, y) && page.pixel(x, y) != qRgb(255, 255, 255))
                QFAIL(qPrintable(QStringLiteral("ink in the margin at %1, %2").arg(x).arg(y)));
    const auto inked_row = [&](int y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (page.pixel(x, y) != qRgb(255, 255, 255)) return true;
        return false;
    };
    int lowest = inside.bottom();
    while (lowest > inside.top() && !inked_row(lowest)) --lowest;
    QVERIFY2(inside.bottom() - lowest < 4 * kDotsPerMm,
             qPrintable(QString::number(inside.bottom() - lowest)));
    QDir().mkpath(VANTORA_SCREENSHOT_DIR);
    QVERIFY(page.save(QStringLiteral(VANTORA_SCREENSHOT_DIR "/") + picture));
}

void ChartPrintTest::printer_prints_the_same_single_page() {
    // State: a printer that prints into a PDF file, at its own resolution.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = folder.filePath("printer.pdf");
    printer.setOutputFileName(path);
    printer.setPageLayout(vantora::ui::chart_page_layout());
    const PopupContent content = marked_content();
    // Action and expected: one page that holds every text.
    QVERIFY(vantora::ui::print_chart(printer, text_page(content)));
    QVERIFY(poppler("pdfinfo", {path}).contains(QRegularExpression("Pages:\\s+1\\n")));
    const QString text = poppler("pdftotext", {"-enc", "UTF-8", path, "-"});
    for (const QString& piece : texts_of(content.texts)) QVERIFY2(text.contains(piece), qPrintable(piece));
}

QTEST_MAIN(ChartPrintTest)
#include "test_chart_print.moc"
