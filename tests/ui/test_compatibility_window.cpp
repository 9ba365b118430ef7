// The two-chart window: both charts' pillars and readings side by side, the relations between them
// and the day stems' names and voids, and its page, one A4 sheet.
#include "ui_test_support.hpp"

#include "chart/compute_chart.hpp"
#include "core/term_file.hpp"
#include "ui/chart_print.hpp"
#include "ui/compatibility_window.hpp"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QTest>

using vantora::ui::CompatibilityContent;
using vantora::ui::CompatibilityWindow;

class CompatibilityWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void shows_both_charts_their_relations_and_voids_and_prints_them();

private:
    vantora::Chart chart(int year, int month, int day, int hour, int minute) const;
    std::optional<vantora::TermTables> tables_;
};

void CompatibilityWindowTest::initTestCase() {
    vantora::ui::testing::prepare_ui_test();
    auto loaded = vantora::init_tables();
    QVERIFY(std::holds_alternative<vantora::TermTables>(loaded));
    tables_ = std::get<vantora::TermTables>(loaded);
}

vantora::Chart CompatibilityWindowTest::chart(int year, int month, int day, int hour, int minute) const {
    vantora::BirthRecord r;
    r.birth_year = year, r.birth_month = month, r.birth_day = day, r.birth_hour = hour,
    r.birth_minute = minute;
    return std::get<vantora::Chart>(vantora::compute_chart(r, {2026, 12, 8, 10, 0, 0}, *tables_));
}

void CompatibilityWindowTest::shows_both_charts_their_relations_and_voids_and_prints_them() {
    // State: 1960-01-07 04:11 己亥 丁丑 甲午 丙寅 and 1985-07-24 06:30 乙丑 癸未 甲子 丁卯.
    const CompatibilityContent pair{{QStringLiteral("一郎"), chart(1960, 1, 7, 4, 11)},
                                    {QStringLiteral("花子"), chart(1985, 7, 24, 6, 30)},
                                    {}};
    QPointer<CompatibilityWindow> window = new CompatibilityWindow;
    window->show_pair(pair);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // Expected: the day pillars in the day columns (second from the left), the relations named by person.
    const auto text = [&](const char* name) { return window->findChild<QLabel*>(name)->text(); };
    QCOMPARE(text("a_0_1") + text("a_1_1"), QStringLiteral("甲午"));
    QCOMPARE(text("b_0_1") + text("b_1_1"), QStringLiteral("甲子"));
    QCOMPARE(text("b_4_3"), QStringLiteral("正財")); // 乙丑's hidden 己 for 甲
    for (const char* line : {"一郎年干・花子日干　己甲　干合", "一郎日支・花子日支　午子　冲"})
        QVERIFY2(text("lblKankei").contains(QString::fromUtf8(line)), line);
    QVERIFY(text("lblNikkan").contains(QStringLiteral("花子の空亡　戌亥（一郎の年支 亥に当たる）")));
    vantora::ui::testing::save_screenshot(window, QStringLiteral("compatibility_window"));

    // Action: its page painted at 150 dots per inch on A4 within the margins.
    constexpr double kDotsPerMm = 150 / 25.4;
    QImage page(qRound(210 * kDotsPerMm), qRound(297 * kDotsPerMm), QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(kDotsPerMm * 1000));
    page.setDotsPerMeterY(qRound(kDotsPerMm * 1000));
    page.fill(Qt::white);
    const QRect inside =
        QRectF(18 * kDotsPerMm, 18 * kDotsPerMm, 174 * kDotsPerMm, 261 * kDotsPerMm).toAlignedRect();
    QPainter painter(&page);
    vantora::ui::paint_compatibility_page(painter, inside, pair);
    painter.end();
    // Expected: ink inside the margins only.
    for (int y = 0; y < page.height(); y += 2)
        for (int x = 0; x < page.width(); x += 2)
            if (!inside.contains(x, y) && page.pixel(x, y) != qRgb(255, 255, 255))
                QFAIL(qPrintable(QStringLiteral("ink in the margin at %1, %2").arg(x).arg(y)));
    QVERIFY(page.save(QStringLiteral(VANTORA_SCREENSHOT_DIR "/printed_compatibility.png")));
    delete window;
}

QTEST_MAIN(CompatibilityWindowTest)
#include "test_compatibility_window.moc"
