// The details window: the readings of the computed chart in their cells, a refresh overwriting
// them, the current luck pillar in bold, 閉じる and Escape hiding; and its command "詳細" on the
// main window, usable exactly when POP is.
#include "ui_test_support.hpp"

#include "chart/compute_chart.hpp"
#include "chart/summer_time.hpp"
#include "core/term_file.hpp"
#include "ui/details_window.hpp"
#include "ui/form_kit.hpp"
#include "ui/main_window.hpp"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <optional>

using vantora::ui::DetailsContent;
using vantora::ui::DetailsWindow;
using vantora::ui::MainWindow;

class DetailsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void shows_the_readings_of_the_computed_chart();
    void refresh_overwrites_and_unknown_hour_shows_placeholders();
    void current_luck_pillar_alone_is_bold();
    void shows_relations_and_the_chosen_months_and_days();
    void names_the_rules_used_and_the_parts_of_hidden_stems();
    void close_and_escape_hide();
    void command_is_usable_exactly_when_pop_is();
    void command_opens_one_window_and_refreshes_it();
    void screenshot();

private:
    DetailsContent content(int year, int month, int day, int hour, bool hour_known = true,
                           vantora::Sex sex = vantora::Sex::male) const;
    QString cell(const QString& name) const;
    /// Enters a birth on the main window as the user does (the year as its dialog accepts it)
    /// and presses "八字表示".
    static bool compute_on(MainWindow& main, int year, const char* month, const char* day, const char* hour);

    std::optional<vantora::TermTables> tables_;
    QPointer<DetailsWindow> window_;
};

void DetailsWindowTest::initTestCase() {
    vantora::ui::testing::prepare_ui_test();
    auto loaded = vantora::init_tables();
    QVERIFY2(std::holds_alternative<vantora::TermTables>(loaded),
             "planet.txt / latitude.txt beside the test");
    tables_ = std::get<vantora::TermTables>(loaded);
}

void DetailsWindowTest::init() {
    window_ = new DetailsWindow;
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void DetailsWindowTest::cleanup() {
    delete window_;
}

DetailsContent DetailsWindowTest::content(int year, int month, int day, int hour, bool hour_known,
                                          vantora::Sex sex) const {
    vantora::BirthRecord record;
    record.birth_year = year;
    record.birth_month = month;
    record.birth_day = day;
    record.birth_hour = hour_known ? hour : 0;
    record.hour_unknown = !hour_known;
    record.sex = sex;
    const vantora::LocalDateTime now{2026, 12, 8, 10, 0, 0};
    return {std::get<vantora::Chart>(vantora::compute_chart(record, now, *tables_)), now, &*tables_};
}

QString DetailsWindowTest::cell(const QString& name) const {
    auto* label = window_->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no label %1>").arg(name);
}

void DetailsWindowTest::names_the_rules_used_and_the_parts_of_hidden_stems() {
    // State: 2008-04-15 20:00, day 12 of the 辰 month by the almanac's 清明, in a 子 year.
    vantora::BirthRecord record;
    record.birth_year = 2008, record.birth_month = 4, record.birth_day = 15, record.birth_hour = 20;
    vantora::ChartRules rules;
    QVERIFY(!vantora::read_rule_list(rules, "day-change=23,term-instant=clock,hidden-stems=days"));
    const vantora::LocalDateTime now{2026, 12, 8, 10, 0, 0};
    // Action: the chart of those rules, then the default chart of a summer-time clock.
    window_->show_details(
        {std::get<vantora::Chart>(vantora::compute_chart(record, now, *tables_, rules)), now});
    // Expected: the rules named under the charts, each hidden stem with its part.
    QCOMPARE(cell("lblRules"), QStringLiteral("適用規則: 23時日替わり・節入り実時刻・蔵干日数分野"));
    QCOMPARE(cell("lbl_mZokan") + cell("lbl_yZokan"), QStringLiteral("癸中気癸本気"));
    vantora::ui::testing::save_screenshot(window_, QStringLiteral("details_window_rules"));
    window_->show_details(content(1949, 7, 1, 12));
    QCOMPARE(cell("lblRules"), vantora::ui::qtext(vantora::kSummerTimeNotice));
    QCOMPARE(cell("lbl_mZokan"), QStringLiteral("丁"));
}

void DetailsWindowTest::shows_the_readings_of_the_computed_chart() {
    // State: 2000-01-01 12:00, 己卯 丙子 戊午 戊午; day 戊午 of the 甲寅 decade, void 子丑.
    window_->show_details(content(2000, 1, 1, 12));
    // Expected, by hand from the rules: the year and month as 劫財 and 偏印 of 戊, the stages of
    // 戊 on 卯 子 午 午, the 子 month alone void.
    const struct {
        const char* name;
        const char* text;
    } expected[] = {
        {"yKan", "己"},          {"mShi", "子"},          {"lbl_yTsuhen", "劫財"},  {"lbl_mTsuhen", "偏印"},
        {"lbl_dTsuhen", "日主"}, {"lbl_hTsuhen", "比肩"}, {"lbl_yJuniun", "沐浴"},  {"lbl_mJuniun", "胎"},
        {"lbl_dJuniun", "帝旺"}, {"lbl_hJuniun", "帝旺"}, {"lbl_yKubou", ""},       {"lbl_mKubou", "○"},
        {"lbl_hKubou", ""},      {"lblKubou", "子丑"},    {"lblNisshu", "戊"},      {"nen_year_0", "2026"},
        {"nen_kan_0", "丙"},     {"nen_shi_0", "午"},     {"nen_tsuhen_0", "偏印"}, {"nen_juniun_0", "帝旺"},
        {"nen_kubou_6", "○"},    {"dun_kan_0", "丙"},     {"dun_shi_0", "子"},      {"dun_tsuhen_0", "偏印"},
        {"dun_kubou_0", "○"},
    };
    for (const auto& e : expected) QCOMPARE(cell(e.name), QString::fromUtf8(e.text));
}

void DetailsWindowTest::refresh_overwrites_and_unknown_hour_shows_placeholders() {
    window_->show_details(content(2000, 1, 1, 12));
    // Action: the next chart, 2000-01-01 with the hour unknown (noon would give 戊午 again).
    window_->show_details(content(1975, 3, 8, 0, false));
    // Expected: the hour column's cells are "□" and carry no void mark; the rest follows the chart.
    for (const char* name : {"hKan", "hShi", "lbl_hZokan", "lbl_hTsuhen", "lbl_hzTsuhen", "lbl_hJuniun"})
        QCOMPARE(cell(name), QStringLiteral("□"));
    QCOMPARE(cell("lbl_hKubou"), QString());
    QCOMPARE(cell("lbl_dTsuhen"), QStringLiteral("日主"));
    QVERIFY(cell("lblKubou") != QStringLiteral("子丑"));
}

void DetailsWindowTest::current_luck_pillar_alone_is_bold() {
    const auto bold_columns = [this] {
        QString bold;
        for (std::size_t k = 0; k < vantora::kLuckPillarCount; ++k) {
            const bool kan = window_->findChild<QLabel*>(QStringLiteral("dun_kan_%1").arg(k))->font().bold();
            const bool shi = window_->findChild<QLabel*>(QStringLiteral("dun_shi_%1").arg(k))->font().bold();
            if (kan != shi) return QStringLiteral("stem and branch differ at %1").arg(k);
            if (kan) bold += QString::number(k);
        }
        return bold;
    };
    for (const int year : {2020, 1990, 1960}) {
        const DetailsContent c = content(year, 6, 15, 12);
        window_->show_details(c);
        QCOMPARE(bold_columns(), c.chart.current_luck ? QString::number(*c.chart.current_luck) : QString());
    }
    // A birth after the present has no current pillar: the earlier bold is cleared.
    window_->show_details(content(2030, 6, 15, 12));
    QCOMPARE(bold_columns(), QString());
}

void DetailsWindowTest::shows_relations_and_the_chosen_months_and_days() {
    // State: 1975-03-08 14:00, 乙卯 己卯 癸丑 己未, shown on 2026-12-08.
    window_->show_details(content(1975, 3, 8, 14));
    // Expected: the natal relations listed, the luck pillar 丁丑 (from 10) marked 冲 刑 against 己未.
    const QString natal = cell("lblKankei");
    for (const char* line : {"年支・時支　卯未　半会", "月支・時支　卯未　半会", "日支・時支　丑未　冲"})
        QVERIFY2(natal.contains(QString::fromUtf8(line)), line);
    QCOMPARE(cell("dun_kankei_2"), QStringLiteral("冲 刑"));
    QCOMPARE(cell("dun_sai_1"), QStringLiteral("7カ月")); // the first change at 0 years 7 months
    auto* months = window_->findChild<QTableWidget*>("tblMonths");
    auto* days = window_->findChild<QTableWidget*>("tblDays");
    const auto text = [](QTableWidget* table, int row, int column) {
        return table->item(row, column)->text();
    };
    // The present year and month are chosen, today marked.
    QCOMPARE(months->rowCount(), 12);
    QCOMPARE(text(months, 0, 0), QStringLiteral("寅月"));
    QCOMPARE(days->rowCount(), 31);
    QCOMPARE(text(days, 7, 0), QStringLiteral("8 今日"));
    // Action: 2008, then February. Expected: 甲寅 from 2/4 20:04; 29 days from 辛未, none today.
    window_->findChild<QSpinBox*>("spnYear")->setValue(2008);
    window_->findChild<QComboBox*>("cboMonth")->setCurrentIndex(1);
    QCOMPARE(text(months, 0, 1), QStringLiteral("2/4 20:04"));
    QCOMPARE(text(months, 0, 2), QStringLiteral("甲寅"));
    QCOMPARE(days->rowCount(), 29);
    QCOMPARE(text(days, 0, 1), QStringLiteral("辛未"));
    QCOMPARE(text(days, 7, 0), QStringLiteral("8"));
}

void DetailsWindowTest::close_and_escape_hide() {
    window_->show_details(content(2000, 1, 1, 12));
    QTest::mouseClick(window_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QVERIFY(!window_->isVisible());
    QVERIFY(window_); // hidden, not destroyed
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QTest::keyClick(window_, Qt::Key_Escape);
    QVERIFY(!window_->isVisible());
}

bool DetailsWindowTest::compute_on(MainWindow& main, int year, const char* month, const char* day,
                                   const char* hour) {
    main.accept_birth_year(year);
    for (const auto& [name, entry] : {std::pair{"mSelect", month}, {"dSelect", day}, {"hSelect", hour}}) {
        auto* list = main.findChild<QComboBox*>(name);
        const int index = list->findText(QString::fromLatin1(entry));
        if (!list->isEnabled() || index < 0) return false;
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    if (auto* minutes = main.findChild<QComboBox*>("mtSelect"); minutes->isEnabled()) {
        minutes->setCurrentIndex(1); // minute 0
        emit minutes->activated(1);
    }
    QTest::mouseClick(main.findChild<QPushButton*>("fInput"), Qt::LeftButton);
    return main.last_chart().has_value();
}

void DetailsWindowTest::command_is_usable_exactly_when_pop_is() {
    MainWindow main;
    QVERIFY(main.Form_Load());
    auto* details = main.findChild<QAction*>("menudetail");
    auto* pop = main.findChild<QPushButton*>("btnpop");
    QVERIFY(details);
    QCOMPARE(details->text(), QStringLiteral("詳細（Ｄ）"));
    QCOMPARE(details->shortcut(), QKeySequence("Ctrl+D"));
    QCOMPARE(main.findChild<QAction*>("menupop")->shortcut(), QKeySequence("Ctrl+P"));
    const auto usable = [&](bool expected) {
        return details->isEnabled() == expected && pop->isEnabled() == expected;
    };
    // State: loaded, no chart. Expected: locked.
    QVERIFY(usable(false));
    // Action: a chart. Expected: usable.
    QVERIFY(compute_on(main, 2000, "1", "1", "12"));
    QVERIFY(usable(true));
    // Action: the reversed view, then back. Expected: locked, then usable again.
    QTest::mouseClick(main.findChild<QPushButton*>("btn_000"), Qt::LeftButton);
    QVERIFY(usable(false));
    QTest::mouseClick(main.findChild<QPushButton*>("btn_111"), Qt::LeftButton);
    QVERIFY(usable(true));
}

void DetailsWindowTest::command_opens_one_window_and_refreshes_it() {
    MainWindow main;
    QVERIFY(main.Form_Load());
    auto* details = main.findChild<QAction*>("menudetail");
    QVERIFY(compute_on(main, 2000, "1", "1", "12"));
    details->trigger();
    const QPointer<DetailsWindow> opened = main.details_window();
    QVERIFY(opened && opened->isVisible());
    QCOMPARE(opened->findChild<QLabel*>("lbl_mTsuhen")->text(), QStringLiteral("偏印"));
    // Action: another chart while it is open. Expected: it follows at once, without the command.
    QVERIFY(compute_on(main, 1975, "3", "8", "14"));
    QCOMPARE(opened->findChild<QLabel*>("dKan")->text(), QStringLiteral("癸"));
    // Action: the reversed view and back. Expected: the title says which reading it shows.
    QTest::mouseClick(main.findChild<QPushButton*>("btn_000"), Qt::LeftButton);
    QVERIFY(opened->windowTitle().contains(QStringLiteral("暦どおり")));
    QTest::mouseClick(main.findChild<QPushButton*>("btn_111"), Qt::LeftButton);
    QCOMPARE(opened->windowTitle(), QStringLiteral("Vantora詳細"));

    // Action: another chart, 閉じる, and the command again. Expected: the same window, shown
    // again with the new chart, its current luck pillar bold as on the main window.
    QVERIFY(compute_on(main, 1975, "3", "8", "14"));
    QTest::mouseClick(opened->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QVERIFY(!opened->isVisible());
    details->trigger();
    QCOMPARE(main.details_window().data(), opened.data());
    QVERIFY(opened->isVisible());
    QCOMPARE(opened->findChild<QLabel*>("dKan")->text(), QStringLiteral("癸"));
    for (int i = 0; i < static_cast<int>(vantora::kLuckPillarCount); ++i)
        QCOMPARE(opened->findChild<QLabel*>(QStringLiteral("dun_kan_%1").arg(i))->font().bold(),
                 vantora::ui::testing::luck_bold_on_screen(&main, i));
    QVERIFY(opened->findChild<QLabel*>("dun_kan_5")->font().bold()); // one is: 51 years old in 2026

    // Closing the main window closes this one too.
    main.show();
    QVERIFY(main.close());
    QTRY_VERIFY(!opened);
}

void DetailsWindowTest::screenshot() {
    window_->show_details(content(1975, 3, 8, 14));
    vantora::ui::testing::save_screenshot(window_, QStringLiteral("details_window"));
}

QTEST_MAIN(DetailsWindowTest)
#include "test_details_window.moc"
