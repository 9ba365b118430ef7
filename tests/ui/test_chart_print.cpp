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
using vantora::ui::PopupContent;

Q_DECLARE_METATYPE(PopupContent)

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

PopupContent real_content() {
    auto loaded = vantora::init_tables();
    const auto& tables = std::get<vantora::TermTables>(loaded);
    vantora::BirthRecord record;
    record.birth_year = 1985;
    record.birth_month = 7;
    record.birth_day = 24;
    record.birth_hour = 6;
    record.birth_minute = 30;
    record.sex = vantora::Sex::female;
    const vantora::ShownChart shown =
        vantora::shown_chart(std::get<vantora::Chart>(compute_chart(record, kPrinted, tables)));
    return {shown.texts, shown.bold_luck, record.sex};
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
    QTest::addColumn<PopupContent>("content");
    QTest::addColumn<QString>("name"); // empty: no heading name
    QTest::addColumn<QStringList>("expected");
    const PopupContent marked = marked_content();
    QTest::newRow("every text marked, no name") << marked << QString() << texts_of(marked.texts);
    QTest::newRow("every text marked, a name")
        << marked << QStringLiteral("山田花子") << (texts_of(marked.texts) << QStringLiteral("山田花子"));
    const PopupContent real = real_content();
    QTest::newRow("a computed chart")
        << real << QString()
        << QStringList{QString::fromStdString(real.texts.txtBirthday),
                       QString::fromStdString(real.texts.txtShin),
                       QString::fromStdString(real.texts.txtKoutai), QStringLiteral("女")};
}

void ChartPrintTest::pdf_is_one_page_with_every_text_of_the_chart() {
    QFETCH(PopupContent, content);
    QFETCH(QString, name);
    QFETCH(QStringList, expected);
    const QString path = folder.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
    // Action: save the chart as a PDF file.
    const auto failure = vantora::ui::save_chart_pdf(path, content, kPrinted,
                                                     name.isEmpty() ? std::nullopt : std::optional(name));
    QVERIFY2(!failure, qPrintable(failure.value_or(QString())));
    // Expected: one A4 page that holds every text.
    const QString info = poppler("pdfinfo", {path});
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)")),
             qPrintable(info));
    const QString text = poppler("pdftotext", {"-enc", "UTF-8", path, "-"});
    for (const QString& piece : expected)
        QVERIFY2(text.contains(piece), qPrintable(piece + " missing in\n" + text));
}

void ChartPrintTest::saving_where_no_file_can_be_written_reports_the_file() {
    const QString path = folder.filePath("no such folder/chart.pdf");
    const auto failure = vantora::ui::save_chart_pdf(path, marked_content(), kPrinted);
    QVERIFY(failure);
    QVERIFY2(failure->startsWith(QStringLiteral("PDFを保存できませんでした。")), qPrintable(*failure));
    QVERIFY2(failure->contains(path), qPrintable(*failure));
    QVERIFY(!QFile::exists(path));
}

void ChartPrintTest::page_at_150_dpi_stays_within_its_margins_data() {
    QTest::addColumn<QSizeF>("sheet"); // mm
    QTest::addColumn<QString>("picture");
    QTest::newRow("A4") << QSizeF(210, 297) << QStringLiteral("printed_chart.png");
    // Shorter than the layout: it shrinks to fit.
    QTest::newRow("US Letter") << QSizeF(215.9, 279.4) << QStringLiteral("printed_chart_letter.png");
}

void ChartPrintTest::page_at_150_dpi_stays_within_its_margins() {
    QFETCH(QSizeF, sheet);
    QFETCH(QString, picture);
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
    vantora::ui::paint_chart_page(painter, inside, real_content(), kPrinted, QStringLiteral("山田花子"));
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
    QVERIFY(vantora::ui::print_chart(printer, content, kPrinted));
    QVERIFY(poppler("pdfinfo", {path}).contains(QRegularExpression("Pages:\\s+1\\n")));
    const QString text = poppler("pdftotext", {"-enc", "UTF-8", path, "-"});
    for (const QString& piece : texts_of(content.texts)) QVERIFY2(text.contains(piece), qPrintable(piece));
}

QTEST_MAIN(ChartPrintTest)
#include "test_chart_print.moc"
