// The export window: what it shows of a real chart's export text, replacing and copying it, and
// hiding on "CLOSE".
#include "ui_test_support.hpp"

#include "chart/compute_chart.hpp"
#include "chart/export_text.hpp"
#include "core/term_file.hpp"
#include "ui/export_window.hpp"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

#include <optional>

using vantora::ui::ExportWindow;

namespace {

const vantora::LocalDateTime kStampTime{2026, 12, 8, 10, 0, 0};

/// The export text of the chart of 2000-01-01 12:00 of the given sex, stamped 2026/12/08 10:00:00.
QString real_export_text(const vantora::TermTables& tables, vantora::Sex sex) {
    vantora::BirthRecord record;
    record.birth_year = 2000;
    record.birth_month = 1;
    record.birth_day = 1;
    record.birth_hour = 12;
    record.birth_minute = 0;
    record.sex = sex;
    const auto chart = std::get<vantora::Chart>(vantora::compute_chart(record, kStampTime, tables));
    return QString::fromStdString(
        vantora::export_text(chart.texts, sex, vantora::general_date_text(kStampTime)));
}

} // namespace

class ExportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void shows_the_seventeen_lines_of_a_real_chart_data();
    void shows_the_seventeen_lines_of_a_real_chart();
    void sex_field_follows_the_record_data();
    void sex_field_follows_the_record();
    void second_text_replaces_the_first();
    void select_all_and_copy_gives_the_export_text();
    void close_button_hides_and_keeps_place_and_text();
    void box_is_editable_fixed_pitch_unwrapped();
    void closing_through_frame_destroys_the_window();
    void screenshot();

private:
    std::optional<vantora::TermTables> tables_;
    QPointer<ExportWindow> window_;
    QPlainTextEdit* box() const { return window_->findChild<QPlainTextEdit*>("txtzarvel01"); }
    QStringList shown_lines() const { return window_->shown_text().split('\n'); }
};

void ExportWindowTest::initTestCase() {
    vantora::ui::testing::prepare_ui_test();
    auto loaded = vantora::init_tables();
    QVERIFY2(std::holds_alternative<vantora::TermTables>(loaded),
             "planet.txt / latitude.txt beside the test");
    tables_ = std::get<vantora::TermTables>(loaded);
}

void ExportWindowTest::init() {
    window_ = new ExportWindow;
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void ExportWindowTest::cleanup() {
    delete window_;
}

void ExportWindowTest::shows_the_seventeen_lines_of_a_real_chart_data() {
    QTest::addColumn<int>("line");      // 1-based line number
    QTest::addColumn<QString>("check"); // "exact", "starts", "spaces"
    QTest::addColumn<QString>("expected");

    QTest::newRow("line 1: time stamp then 解命") << 1 << "exact"
                                                  << "2026/12/08 10:00:00解命";
    QTest::newRow("line 2: name heading alone") << 2 << "exact"
                                                << "姓名／";
    QTest::newRow("line 3: birth date heading") << 3 << "starts"
                                                << "生年月日／2000年1月1日12時0分　性別／男";
    QTest::newRow("line 4: ten spaces then luck change") << 4 << "spaces"
                                                         << "10 大運交替／";
    QTest::newRow("line 5: empty") << 5 << "exact"
                                   << "";
    for (int line = 10; line <= 16; ++line) {
        QTest::newRow(qPrintable(QStringLiteral("line %1: seventeen spaces").arg(line))) << line << "spaces"
                                                                                         << "17 ";
    }
    QTest::newRow("line 17: remarks heading alone") << 17 << "exact"
                                                    << "備考／";
}

void ExportWindowTest::shows_the_seventeen_lines_of_a_real_chart() {
    QFETCH(int, line);
    QFETCH(QString, check);
    QFETCH(QString, expected);

    // State: a fresh window. Action: the main window hands it a real chart's export text.
    window_->set_export_text(real_export_text(*tables_, vantora::Sex::male));

    // Expected: seventeen lines, the 17th without a line break after it.
    const QStringList lines = shown_lines();
    QCOMPARE(lines.size(), 17);
    QVERIFY2(!window_->shown_text().endsWith('\n'), "no line break after 備考／");
    QVERIFY2(!window_->shown_text().contains('\r'), "no stray carriage return in a line");
    const QString& text = lines.at(line - 1);
    if (check == "exact") {
        QCOMPARE(text, expected);
    } else if (check == "starts") {
        QVERIFY2(text.startsWith(expected), qPrintable(text));
    } else {
        const int count = expected.section(' ', 0, 0).toInt();
        const QString rest = expected.section(' ', 1);
        QVERIFY2(text.startsWith(QString(count, ' ') + rest), qPrintable(text));
        QVERIFY2(text.at(count) != ' ', qPrintable(text)); // exactly that many spaces
    }
}

void ExportWindowTest::sex_field_follows_the_record_data() {
    QTest::addColumn<vantora::Sex>("sex");
    QTest::addColumn<QString>("field");
    QTest::newRow("female") << vantora::Sex::female << "　性別／女　";
    QTest::newRow("male") << vantora::Sex::male << "　性別／男　";
}

void ExportWindowTest::sex_field_follows_the_record() {
    QFETCH(vantora::Sex, sex);
    QFETCH(QString, field);
    window_->set_export_text(real_export_text(*tables_, sex));
    QVERIFY2(shown_lines().at(2).contains(field), qPrintable(shown_lines().at(2)));
}

void ExportWindowTest::second_text_replaces_the_first() {
    // State: the export of a male chart is shown and the user has typed into it.
    window_->set_export_text(real_export_text(*tables_, vantora::Sex::male));
    box()->moveCursor(QTextCursor::End);
    QTest::keyClicks(box(), "memo");
    QVERIFY(window_->shown_text().endsWith("memo"));

    // Action: the next export, of a female chart.
    const QString second = real_export_text(*tables_, vantora::Sex::female);
    window_->set_export_text(second);

    // Expected: exactly the second text, nothing of the first nor of the edit.
    QCOMPARE(window_->shown_text(), QString(second).replace("\r\n", "\n"));
    QCOMPARE(window_->shown_text().count(QStringLiteral("解命")), 1);
}

void ExportWindowTest::select_all_and_copy_gives_the_export_text() {
    const QString exported = real_export_text(*tables_, vantora::Sex::male);
    window_->set_export_text(exported);
    QApplication::clipboard()->clear();
    box()->setFocus();

    QTest::keyClick(box(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box(), Qt::Key_C, Qt::ControlModifier);

    // Exactly the export text: CR LF after lines 1–16, nothing after line 17.
    const QString copied = QApplication::clipboard()->text();
    QCOMPARE(copied, exported);
    const QStringList lines = copied.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 17);
    QCOMPARE(lines.at(1), QStringLiteral("姓名／"));
    QCOMPARE(lines.at(16), QStringLiteral("備考／"));
    QVERIFY(!copied.contains(QRegularExpression(QStringLiteral("[^\r]\n"))));
}

void ExportWindowTest::close_button_hides_and_keeps_place_and_text() {
    window_->set_export_text(QStringLiteral("a\r\nb"));
    window_->move(window_->pos() + QPoint(40, 30));
    QTest::qWait(20);
    const QPoint placed = window_->pos();

    QTest::mouseClick(window_->findChild<QPushButton*>("btnclose01"), Qt::LeftButton);

    QVERIFY(window_); // hidden, not destroyed
    QVERIFY(!window_->isVisible());
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QCOMPARE(window_->pos(), placed);
    QCOMPARE(window_->shown_text(), QStringLiteral("a\nb"));
}

void ExportWindowTest::box_is_editable_fixed_pitch_unwrapped() {
    QPlainTextEdit* text = box();
    QVERIFY(!text->isReadOnly());
    QCOMPARE(text->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QFontMetrics metrics(text->font());
    // Fixed pitch: a full-width character is as wide as two half-width ones.
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("大")),
             metrics.horizontalAdvance(QStringLiteral("  ")));
    QCOMPARE(metrics.horizontalAdvance(QStringLiteral("i")), metrics.horizontalAdvance(QStringLiteral("W")));
}

void ExportWindowTest::closing_through_frame_destroys_the_window() {
    QVERIFY(window_->close());
    QTRY_VERIFY(window_.isNull());
}

void ExportWindowTest::screenshot() {
    window_->set_export_text(real_export_text(*tables_, vantora::Sex::male));
    const QString path = vantora::ui::testing::save_screenshot(window_, "export_window");
    QVERIFY(QFile::exists(path));
}

QTEST_MAIN(ExportWindowTest)
#include "test_export_window.moc"
