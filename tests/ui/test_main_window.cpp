// The main window driven as a user drives it: through its controls, found by name.
#include "ui_test_support.hpp"

#include "chart/compute_chart.hpp"
#include "chart/reversal.hpp"
#include "core/term_file.hpp"
#include "ui/export_window.hpp"
#include "ui/main_window.hpp"
#include "ui/map_window.hpp"
#include "ui/popup_window.hpp"
#include "ui/year_dialog.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPageLayout>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
#include <optional>

using vantora::ui::MainWindow;
using vantora::ui::YearDialog;
using namespace vantora::ui::testing;

namespace {

/// A birth as the user enters it; an empty minute means the minute list is left alone.
struct Birth {
    QString year, month, day, hour, minute;
};

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void starts_with_only_year_sex_offset_map_and_exit_usable();
    void starts_with_focus_on_year_button();
    void missing_term_files_report_the_loader_message_and_fail();
    void unlocks_month_day_hour_minute_in_order();
    void unknown_hour_enables_compute_at_once_and_keeps_minute_locked();
    void month_change_clamps_the_shown_day_data();
    void month_change_clamps_the_shown_day();
    void leap_day_becomes_28_when_a_common_year_is_accepted();
    void accepting_without_a_year_reenables_window_and_stores_nothing();
    void closing_year_dialog_from_frame_reenables_main_window();
    void closing_year_dialog_from_frame_keeps_the_accepted_leap_day();
    void year_dialog_reopens_with_its_century_and_year();
    void year_dialog_lists_a_century_in_three_columns();
    void input_change_after_chart_disables_reversal_only_data();
    void input_change_after_chart_disables_reversal_only();
    void typing_seconds_zeroing_and_map_texts_keep_reversal_enabled();
    void chart_of_2000_01_01_noon_shows_its_pillars();
    void damaged_tables_give_a_message_and_no_chart();
    void chart_marks_current_luck_pillar_in_bold();
    void reversed_view_locks_inputs_and_restore_brings_chart_back();
    void reversed_view_with_unknown_hour_leaves_hour_relations_empty();
    void arrows_step_from_shown_text_and_stop_at_range_ends_data();
    void arrows_step_from_shown_text_and_stop_at_range_ends();
    void minus_zero_minutes_reach_the_chart_as_a_negative_offset();
    void export_and_popup_receive_the_shown_chart();
    void every_menu_item_has_its_own_shortcut();
    void print_item_offers_an_a4_portrait_page();
    void pdf_item_writes_the_chosen_file_or_reports_why_not_data();
    void pdf_item_writes_the_chosen_file_or_reports_why_not();
    void loading_closes_the_startup_window();
    void closing_main_window_from_frame_closes_the_others();
    void screenshots();
    // Last: the exit command also ends the application's event loops.
    void exit_button_closes_every_window();

private:
    template <class T> T* child(const char* name) const {
        T* found = window->findChild<T*>(name);
        if (!found) qWarning("no control %s", name);
        return found;
    }
    QComboBox* list(const char* name) const { return child<QComboBox>(name); }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    QAction* action(const char* name) const { return child<QAction>(name); }
    QString text(const char* name) const;

    /// Picks an entry of a selection list as the user does; fails when the list is locked.
    bool choose(const char* list_name, const QString& entry);
    /// Runs trigger while answer(modal) is called on every modal dialog that appears.
    void answering_modals(const std::function<void()>& trigger, const std::function<void(QWidget*)>& answer);
    /// Opens the year dialog, picks year (if not empty) and presses "決定".
    bool accept_year(const QString& year);
    bool enter(const Birth& birth);
    void compute();
    /// In 100 ms, records the title and text of the modal message box then open and clicks OK.
    static void answer_next_message_box(QString& title, QString& message);

    std::unique_ptr<MainWindow> window;
};

void MainWindowTest::initTestCase() {
    prepare_ui_test();
}

void MainWindowTest::init() {
    window = std::make_unique<MainWindow>();
    QVERIFY(window->Form_Load());
}

void MainWindowTest::cleanup() {
    window.reset();
}

QString MainWindowTest::text(const char* name) const {
    QWidget* widget = window->findChild<QWidget*>(name);
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    qWarning("no text control %s", name);
    return {};
}

bool MainWindowTest::choose(const char* list_name, const QString& entry) {
    QComboBox* combo = list(list_name);
    if (!combo || !combo->isEnabled()) return false;
    const int index = combo->findText(entry);
    if (index < 0) return false;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

bool MainWindowTest::accept_year(const QString& year) {
    if (!button("yearInput")->isEnabled() || !window->isEnabled()) return false;
    QTest::mouseClick(button("yearInput"), Qt::LeftButton);
    YearDialog* dialog = window->year_dialog();
    if (!dialog || !dialog->isVisible()) return false;
    if (!year.isEmpty()) {
        const QString century = QStringLiteral("y%1").arg(year.toInt() / 100 * 100);
        QTest::mouseClick(dialog->findChild<QPushButton*>(century), Qt::LeftButton);
        auto* years = dialog->findChild<QListWidget*>("List1");
        const auto items = years->findItems(year, Qt::MatchExactly);
        if (items.size() != 1) return false;
        years->setCurrentItem(items.front());
    }
    QTest::mouseClick(dialog->findChild<QPushButton*>("btnSlok"), Qt::LeftButton);
    return true;
}

bool MainWindowTest::enter(const Birth& birth) {
    if (!accept_year(birth.year)) return false;
    if (!choose("mSelect", birth.month) || !choose("dSelect", birth.day) || !choose("hSelect", birth.hour))
        return false;
    return birth.minute.isEmpty() || choose("mtSelect", birth.minute);
}

void MainWindowTest::compute() {
    QTest::mouseClick(button("fInput"), Qt::LeftButton);
}

void MainWindowTest::answer_next_message_box(QString& title, QString& message) {
    QTimer::singleShot(100, [&title, &message] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        title = box->windowTitle();
        message = box->text();
        box->button(QMessageBox::Ok)->click();
    });
}

// ---------------------------------------------------------------------------------------------

void MainWindowTest::starts_with_only_year_sex_offset_map_and_exit_usable() {
    // State: the window just loaded.
    QCOMPARE(window->windowTitle(), QStringLiteral("Vantora（Eldra）vantora.example.jp"));
    for (const char* usable :
         {"yearInput", "optW", "optM", "txtJisabyo", "udJisahun", "udJisabyo", "btnmap", "endbtn"})
        QVERIFY2(window->findChild<QWidget*>(usable)->isEnabled(), usable);
    for (const char* locked :
         {"mSelect", "dSelect", "hSelect", "mtSelect", "fInput", "btnpop", "btnexport", "btn_000"})
        QVERIFY2(!window->findChild<QWidget*>(locked)->isEnabled(), locked);
    for (const char* item : {"menupop", "menuprint", "menupdf"}) QVERIFY2(!action(item)->isEnabled(), item);
    for (const char* item : {"endzarvel", "mnuMap", "menujisa01", "menuversion"})
        QVERIFY2(action(item)->isEnabled(), item);
    QVERIFY(child<QRadioButton>("optW")->isChecked());
    QVERIFY(button("btn_111")->isHidden());
    for (const char* relation :
         {"lbl_ySeikoku", "lbl_mSeikoku", "lbl_hSeikoku", "lbl_yzSeikoku", "lbl_dzSeikoku", "lbl_hzSeikoku"})
        QVERIFY2(child<QLabel>(relation)->isHidden(), relation);
    QCOMPARE(text("txtJisahun"), QStringLiteral("0"));
    QCOMPARE(text("txtJisabyo"), QStringLiteral("0"));
    QCOMPARE(text("yKan"), QStringLiteral("□"));
    QVERIFY(text("txtBirthday").isEmpty());
    QCOMPARE(action("menujisa01")->shortcut(), QKeySequence("Ctrl+J"));
    QCOMPARE(action("endzarvel")->shortcut(), QKeySequence("Ctrl+E"));
}

void MainWindowTest::starts_with_focus_on_year_button() {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    QTRY_COMPARE(QApplication::focusWidget(), button("yearInput"));
    QCOMPARE(window->size(), window->minimumSize());
    QCOMPARE(window->size(), window->maximumSize());
}

void MainWindowTest::missing_term_files_report_the_loader_message_and_fail() {
    // State: the loader fails. Action: Form_Load. Expected: a modal box with the loader's message.
    MainWindow failing;
    QString title, message;
    answer_next_message_box(title, message);
    const bool loaded = failing.Form_Load(nullptr, [] {
        return vantora::TermResult<vantora::TermTables>{
            vantora::TermFileError{"planet.txt: ファイルがありません"}};
    });
    QVERIFY(!loaded);
    QCOMPARE(title, QStringLiteral("Vantora 起動エラー"));
    QCOMPARE(message, QStringLiteral("planet.txt: ファイルがありません"));
}

void MainWindowTest::unlocks_month_day_hour_minute_in_order() {
    QVERIFY(!choose("mSelect", "3"));
    QVERIFY(accept_year("1975"));
    QCOMPARE(text("txtBirthday"), QStringLiteral("1975年月日時頃"));
    QVERIFY(!list("dSelect")->isEnabled());
    QVERIFY(choose("mSelect", "3"));
    QVERIFY(!list("hSelect")->isEnabled());
    QCOMPARE(list("dSelect")->count(), 31);
    QVERIFY(list("dSelect")->currentText().isEmpty());
    QVERIFY(choose("dSelect", "8"));
    QVERIFY(!list("mtSelect")->isEnabled());
    QVERIFY(choose("hSelect", "14"));
    QVERIFY(!button("fInput")->isEnabled());
    QCOMPARE(text("txtBirthday"), QStringLiteral("1975年3月8日14時頃"));
    QVERIFY(choose("mtSelect", "5"));
    QVERIFY(button("fInput")->isEnabled());
    QCOMPARE(text("txtBirthday"), QStringLiteral("1975年3月8日14時5分"));
}

void MainWindowTest::unknown_hour_enables_compute_at_once_and_keeps_minute_locked() {
    QVERIFY(enter({"1990", "6", "15", "?", ""}));
    QVERIFY(button("fInput")->isEnabled());
    QVERIFY(!list("mtSelect")->isEnabled());
    QCOMPARE(text("txtBirthday"), QStringLiteral("1990年6月15日出生時間不明"));
    // Choosing a real hour afterwards asks for the minute again.
    QVERIFY(choose("hSelect", "9"));
    QVERIFY(list("mtSelect")->isEnabled());
}

void MainWindowTest::month_change_clamps_the_shown_day_data() {
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("first_month");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("second_month");
    QTest::addColumn<QString>("shown_day");
    QTest::addColumn<int>("entries");
    QTest::newRow("31 then April gives 30") << "1980"
                                            << "1"
                                            << "31"
                                            << "4"
                                            << "30" << 30;
    QTest::newRow("31 then February of a leap year gives 29") << "2000"
                                                              << "3"
                                                              << "31"
                                                              << "2"
                                                              << "29" << 29;
    QTest::newRow("30 then February of 1900 gives 28") << "1900"
                                                       << "6"
                                                       << "30"
                                                       << "2"
                                                       << "28" << 28;
    QTest::newRow("15 stays 15 in April") << "1980"
                                          << "1"
                                          << "15"
                                          << "4"
                                          << "15" << 30;
    QTest::newRow("28 February then March offers 31") << "1999"
                                                      << "2"
                                                      << "28"
                                                      << "3"
                                                      << "28" << 31;
}

void MainWindowTest::month_change_clamps_the_shown_day() {
    QFETCH(QString, year);
    QFETCH(QString, first_month);
    QFETCH(QString, day);
    QFETCH(QString, second_month);
    QFETCH(QString, shown_day);
    QFETCH(int, entries);
    QVERIFY(enter({year, first_month, day, "10", "0"}));
    QVERIFY(choose("mSelect", second_month));
    QCOMPARE(list("dSelect")->currentText(), shown_day);
    QCOMPARE(list("dSelect")->count(), entries);
    QCOMPARE(list("dSelect")->itemText(entries - 1), QString::number(entries));
    QCOMPARE(text("txtBirthday"), QStringLiteral("%1年%2月%3日10時0分").arg(year, second_month, shown_day));
}

void MainWindowTest::leap_day_becomes_28_when_a_common_year_is_accepted() {
    QVERIFY(enter({"2000", "2", "29", "8", "30"}));
    QVERIFY(accept_year("2001"));
    QCOMPARE(list("dSelect")->currentText(), QStringLiteral("28"));
    QCOMPARE(list("dSelect")->count(), 28);
    QCOMPARE(text("txtBirthday"), QStringLiteral("2001年2月28日8時30分"));
    compute();
    QVERIFY(window->last_chart().has_value());
    QCOMPARE(window->last_chart()->true_day, 28.0);
}

void MainWindowTest::accepting_without_a_year_reenables_window_and_stores_nothing() {
    QVERIFY(accept_year(""));
    QVERIFY(window->isEnabled());
    QVERIFY(window->year_dialog()->isVisible());
    QVERIFY(!window->birth_year());
    QVERIFY(!list("mSelect")->isEnabled());
}

void MainWindowTest::closing_year_dialog_from_frame_reenables_main_window() {
    // State: the dialog is open, the main window locked, a year picked but not accepted.
    QTest::mouseClick(button("yearInput"), Qt::LeftButton);
    QVERIFY(!window->isEnabled());
    YearDialog* dialog = window->year_dialog();
    auto* years = dialog->findChild<QListWidget*>("List1");
    years->setCurrentItem(years->findItems("1950", Qt::MatchExactly).front());
    // Action: the dialog's frame closes it.
    QVERIFY(dialog->close());
    // Expected: like "決定" with no year: the main window is usable, nothing is stored, the
    // dialog is kept and shows no year at its next opening.
    QVERIFY(window->isEnabled());
    QVERIFY(!dialog->isVisible());
    QCOMPARE(window->year_dialog().data(), dialog);
    QCOMPARE(window->birth_year(), std::nullopt);
    QCOMPARE(text("txtBirthday"), QString());
    QVERIFY(!list("mSelect")->isEnabled());
    QTest::mouseClick(button("yearInput"), Qt::LeftButton);
    QCOMPARE(dialog->chosen_year_text(), QString());
    QVERIFY(dialog->close());
}

void MainWindowTest::closing_year_dialog_from_frame_keeps_the_accepted_leap_day() {
    // State: 2000-02-29 chosen; the dialog reopened and 2001 highlighted, not accepted.
    QVERIFY(enter({"2000", "2", "29", "12", ""}));
    QTest::mouseClick(button("yearInput"), Qt::LeftButton);
    YearDialog* dialog = window->year_dialog();
    QTest::mouseClick(dialog->findChild<QPushButton*>("y2000"), Qt::LeftButton);
    auto* years = dialog->findChild<QListWidget*>("List1");
    years->setCurrentItem(years->findItems("2001", Qt::MatchExactly).front());
    QCOMPARE(dialog->chosen_year_text(), QStringLiteral("2001"));
    // Action: closed by its frame.
    QVERIFY(dialog->close());
    // Expected: the leap day stays, with the month lengths of 2000; the box shows 2000 again.
    QCOMPARE(window->birth_year(), std::optional<double>(2000));
    QCOMPARE(list("dSelect")->currentText(), QStringLiteral("29"));
    QCOMPARE(window->month_days()[2], 29);
    QVERIFY(text("txtBirthday").startsWith(QStringLiteral("2000年2月29日")));
    QCOMPARE(dialog->chosen_year_text(), QStringLiteral("2000"));
}

void MainWindowTest::year_dialog_reopens_with_its_century_and_year() {
    QVERIFY(accept_year("1642"));
    QTest::mouseClick(button("yearInput"), Qt::LeftButton);
    YearDialog* dialog = window->year_dialog();
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("年入力"));
    QCOMPARE(dialog->chosen_year_text(), QStringLiteral("1642"));
    auto* years = dialog->findChild<QListWidget*>("List1");
    QCOMPARE(years->item(0)->text(), QStringLiteral("1600"));
    QVERIFY(!window->isEnabled());
    QVERIFY(!button("btn_000")->isEnabled());
}

void MainWindowTest::year_dialog_lists_a_century_in_three_columns() {
    QTest::mouseClick(button("yearInput"), Qt::LeftButton);
    YearDialog* dialog = window->year_dialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    auto* years = dialog->findChild<QListWidget*>("List1");
    QCOMPARE(dialog->chosen_year_text(), QString());
    QCOMPARE(years->count(), 100);
    QCOMPARE(years->item(0)->text(), QStringLiteral("1900"));
    QCOMPARE(years->item(99)->text(), QStringLiteral("1999"));
    // Ascending by rows: 1900 1901 1902 on the first row, 1903 below 1900.
    const QRect first = years->visualItemRect(years->item(0));
    const QRect second = years->visualItemRect(years->item(1));
    const QRect third = years->visualItemRect(years->item(2));
    const QRect fourth = years->visualItemRect(years->item(3));
    QCOMPARE(second.top(), first.top());
    QCOMPARE(third.top(), first.top());
    QVERIFY(first.left() < second.left() && second.left() < third.left());
    QCOMPARE(fourth.left(), first.left());
    QVERIFY(fourth.top() > first.top());
    for (const auto& [name, first_year] : {std::pair{"y1500", "1500"}, std::pair{"y2000", "2000"}}) {
        QTest::mouseClick(dialog->findChild<QPushButton*>(name), Qt::LeftButton);
        QCOMPARE(years->count(), 100);
        QCOMPARE(years->item(0)->text(), QString(first_year));
    }
    QCOMPARE(years->item(99)->text(), QStringLiteral("2099"));
}

void MainWindowTest::input_change_after_chart_disables_reversal_only_data() {
    QTest::addColumn<QString>("change");
    for (const char* change : {"month", "day", "hour", "minute", "male", "female", "year dialog",
                               "minutes arrow", "seconds arrow", "map button", "map menu"})
        QTest::newRow(change) << change;
}

void MainWindowTest::input_change_after_chart_disables_reversal_only() {
    QFETCH(QString, change);
    // State: a chart computed from unchanged input.
    QVERIFY(enter({"1985", "5", "20", "7", "45"}));
    compute();
    QVERIFY(button("btn_000")->isEnabled());
    const QString shown_stem = text("dKan");
    // Action: one change of the birth data.
    if (change == "month") QVERIFY(choose("mSelect", "6"));
    if (change == "day") QVERIFY(choose("dSelect", "21"));
    if (change == "hour") QVERIFY(choose("hSelect", "8"));
    if (change == "minute") QVERIFY(choose("mtSelect", "46"));
    if (change == "male") QTest::mouseClick(child<QRadioButton>("optM"), Qt::LeftButton);
    if (change == "female") QTest::mouseClick(child<QRadioButton>("optW"), Qt::LeftButton);
    if (change == "year dialog") QTest::mouseClick(button("yearInput"), Qt::LeftButton);
    if (change == "minutes arrow")
        QTest::mouseClick(child<QWidget>("udJisahun")->findChild<QToolButton*>("up"), Qt::LeftButton);
    if (change == "seconds arrow")
        QTest::mouseClick(child<QWidget>("udJisabyo")->findChild<QToolButton*>("up"), Qt::LeftButton);
    if (change == "map button") QTest::mouseClick(button("btnmap"), Qt::LeftButton);
    if (change == "map menu") action("mnuMap")->trigger();
    // Expected: only the reversal is locked (the open year dialog locks the whole window besides);
    // the old chart stays.
    QVERIFY(!button("btn_000")->isEnabledTo(window.get()));
    QVERIFY(button("btnpop")->isEnabledTo(window.get()));
    QVERIFY(button("btnexport")->isEnabledTo(window.get()));
    QVERIFY(action("menupop")->isEnabled());
    QCOMPARE(text("dKan"), shown_stem);
}

void MainWindowTest::typing_seconds_zeroing_and_map_texts_keep_reversal_enabled() {
    QVERIFY(enter({"1985", "5", "20", "7", "45"}));
    compute();
    auto* seconds = child<QLineEdit>("txtJisabyo");
    seconds->setFocus();
    seconds->selectAll();
    QTest::keyClicks(seconds, "42");
    QCOMPARE(seconds->text(), QStringLiteral("42"));
    QVERIFY(button("btn_000")->isEnabled());
    action("menujisa01")->trigger();
    QCOMPARE(text("txtJisahun"), QStringLiteral("0"));
    QCOMPARE(text("txtJisabyo"), QStringLiteral("0"));
    QVERIFY(button("btn_000")->isEnabled());
    // The map's "決定" writes the texts (the map itself was opened before the chart here).
    QTest::mouseClick(button("btnmap"), Qt::LeftButton);
    compute();
    emit window->map_window()->decided("-18", "20");
    QCOMPARE(text("txtJisahun"), QStringLiteral("-18"));
    QCOMPARE(text("txtJisabyo"), QStringLiteral("20"));
    QVERIFY(button("btn_000")->isEnabled());
    // The seconds box accepts at most five characters.
    seconds->selectAll();
    QTest::keyClicks(seconds, "1234567");
    QCOMPARE(seconds->text(), QStringLiteral("12345"));
}

void MainWindowTest::damaged_tables_give_a_message_and_no_chart() {
    // State: tables past the reader's bounds (built in memory; the reader refuses such files),
    // which once gave a chart longitude of exactly 0°. Action: 八字表示. Expected: one warning
    // naming the term files; no chart shown, nothing that reads a chart enabled.
    window = std::make_unique<MainWindow>();
    QVERIFY(window->Form_Load(nullptr, [] {
        auto loaded = vantora::init_tables();
        std::get<vantora::TermTables>(loaded).planet_terms[0].a = 1e200;
        return loaded;
    }));
    QVERIFY(enter({"2000", "1", "1", "12", "0"}));
    QString title, message;
    answer_next_message_box(title, message);
    compute();
    QCOMPARE(title, QStringLiteral("Vantora"));
    QVERIFY2(message.startsWith(QStringLiteral("項の表（planet.txt, latitude.txt）")), qPrintable(message));
    QVERIFY(!window->last_chart());
    QCOMPARE(text("yKan"), QStringLiteral("□"));
    QVERIFY(!button("btnpop")->isEnabled());
    QVERIFY(!button("btn_000")->isEnabled());
}

void MainWindowTest::chart_of_2000_01_01_noon_shows_its_pillars() {
    QVERIFY(enter({"2000", "1", "1", "12", "0"}));
    compute();
    QCOMPARE(text("yKan") + text("yShi"), QStringLiteral("己卯"));
    QCOMPARE(text("mKan") + text("mShi"), QStringLiteral("丙子"));
    QCOMPARE(text("dKan") + text("dShi"), QStringLiteral("戊午"));
    QCOMPARE(text("hKan") + text("hShi"), QStringLiteral("戊午"));
    QCOMPARE(text("txtweek"), QStringLiteral("土曜日"));
    QVERIFY(button("btnpop")->isEnabled());
    QVERIFY(button("btnexport")->isEnabled());
    for (const char* item : {"menupop", "menuprint", "menupdf"}) QVERIFY2(action(item)->isEnabled(), item);
    QVERIFY(button("btn_000")->isEnabled());
    // Every text the window shows is the computation's, apart from the birth-date sentence.
    const vantora::ChartTexts& computed = window->last_chart()->texts;
    const vantora::ChartTexts shown = texts_on_screen(window.get());
    QCOMPARE(shown.txtShin, computed.txtShin);
    QCOMPARE(shown.txtKinjisa, computed.txtKinjisa);
    QCOMPARE(shown.txtKoutai, computed.txtKoutai);
    QCOMPARE(shown.txtKoutaiYM, computed.txtKoutaiYM);
    QCOMPARE(shown.txtKoukei, computed.txtKoukei);
    QCOMPARE(shown.txtAge, computed.txtAge);
    QCOMPARE(shown.lbl_yZokan + shown.lbl_mZokan + shown.lbl_dZokan + shown.lbl_hZokan,
             computed.lbl_yZokan + computed.lbl_mZokan + computed.lbl_dZokan + computed.lbl_hZokan);
    QCOMPARE(shown.lblOu, computed.lblOu);
    QVERIFY(shown.dun_kan == computed.dun_kan);
    QVERIFY(shown.dun_shi == computed.dun_shi);
    QVERIFY(shown.sai1 == computed.sai1);
    QVERIFY(shown.sai2 == computed.sai2);
    QCOMPARE(shown.txtBirthday, std::string("2000年1月1日12時0分"));
}

void MainWindowTest::chart_marks_current_luck_pillar_in_bold() {
    QVERIFY(enter({"1950", "7", "10", "3", "20"}));
    compute();
    const std::optional<int> current = window->last_chart()->current_luck;
    QVERIFY(current.has_value());
    for (int i = 0; i < static_cast<int>(vantora::kLuckPillarCount); ++i) {
        const bool expected = i == *current;
        QCOMPARE(luck_bold_on_screen(window.get(), i), expected);
        QCOMPARE(child<QLabel>(qPrintable(QStringLiteral("dun_shi_%1").arg(i)))->font().bold(), expected);
    }
    // A birth in the future stands in no luck pillar: nothing stays bold.
    QVERIFY(accept_year("2090"));
    compute();
    QVERIFY(!window->last_chart()->current_luck.has_value());
    for (int i = 0; i < static_cast<int>(vantora::kLuckPillarCount); ++i)
        QVERIFY(!luck_bold_on_screen(window.get(), i));
    QCOMPARE(text("txtAge"), QStringLiteral("-"));
}

void MainWindowTest::reversed_view_locks_inputs_and_restore_brings_chart_back() {
    QVERIFY(enter({"2000", "1", "1", "12", "0"}));
    compute();
    const vantora::ChartTexts before = texts_on_screen(window.get());
    const vantora::Chart chart = *window->last_chart();
    // Action: "旺の逆転".
    QTest::mouseClick(button("btn_000"), Qt::LeftButton);
    QVERIFY(button("btn_000")->isHidden());
    QVERIFY(!button("btn_111")->isHidden());
    for (const char* locked : {"yearInput", "mSelect", "dSelect", "hSelect", "mtSelect", "optW", "optM",
                               "udJisahun", "udJisabyo", "btnmap", "fInput", "btnexport", "btnpop"})
        QVERIFY2(!window->findChild<QWidget*>(locked)->isEnabled(), locked);
    for (const char* item : {"mnuMap", "menupop", "menujisa01", "menuprint", "menupdf"})
        QVERIFY2(!action(item)->isEnabled(), item);
    QVERIFY(child<QLineEdit>("txtJisabyo")->isEnabled());
    QVERIFY(child<QLineEdit>("txtJisabyo")->isReadOnly());
    QVERIFY(button("endbtn")->isEnabled());
    QVERIFY(action("endzarvel")->isEnabled());
    QVERIFY(action("menuversion")->isEnabled());
    vantora::ReversalInput input{chart.year_stem,  chart.month_stem,  chart.day_stem,
                                 chart.hour_stem,  chart.year_hidden, chart.month_hidden,
                                 chart.day_hidden, chart.hour_hidden, true};
    const vantora::ReversedView view = vantora::reverse_chart(input);
    QCOMPARE(text("lbl_yZokan"), QString::fromStdString(view.lbl_yZokan));
    QCOMPARE(text("lbl_mZokan"), QString::fromStdString(view.lbl_mZokan));
    QCOMPARE(text("lblOu"), QString::fromStdString(view.lblOu));
    QCOMPARE(text("lbl_ySeikoku"), QString::fromStdString(view.lbl_ySeikoku));
    QCOMPARE(text("lbl_hzSeikoku"), QString::fromStdString(view.lbl_hzSeikoku));
    QVERIFY(!text("lbl_hSeikoku").isEmpty());
    for (const char* relation :
         {"lbl_ySeikoku", "lbl_mSeikoku", "lbl_hSeikoku", "lbl_yzSeikoku", "lbl_dzSeikoku", "lbl_hzSeikoku"})
        QVERIFY2(!child<QLabel>(relation)->isHidden(), relation);
    QCOMPARE(text("yKan") + text("mKan") + text("dKan") + text("hKan"),
             QString::fromStdString(before.yKan + before.mKan + before.dKan + before.hKan));
    // Action: "暦に戻す".
    QTest::mouseClick(button("btn_111"), Qt::LeftButton);
    QVERIFY(!button("btn_000")->isHidden());
    QVERIFY(button("btn_000")->isEnabled());
    QVERIFY(!child<QLineEdit>("txtJisabyo")->isReadOnly());
    QVERIFY(button("btn_111")->isHidden());
    QCOMPARE(text("lblOu"), QString::fromStdString(before.lblOu));
    QCOMPARE(text("lbl_yZokan"), QString::fromStdString(before.lbl_yZokan));
    QCOMPARE(text("lbl_mZokan"), QString::fromStdString(before.lbl_mZokan));
    for (const char* relation :
         {"lbl_ySeikoku", "lbl_mSeikoku", "lbl_hSeikoku", "lbl_yzSeikoku", "lbl_dzSeikoku", "lbl_hzSeikoku"})
        QVERIFY2(child<QLabel>(relation)->isHidden(), relation);
    for (const char* usable : {"yearInput", "mSelect", "dSelect", "hSelect", "mtSelect", "fInput",
                               "btnexport", "btnpop", "udJisahun", "btnmap"})
        QVERIFY2(window->findChild<QWidget*>(usable)->isEnabled(), usable);
    for (const char* item : {"mnuMap", "menupop", "menujisa01", "menuprint", "menupdf"})
        QVERIFY2(action(item)->isEnabled(), item);
    // The reversal can be shown again at once.
    QTest::mouseClick(button("btn_000"), Qt::LeftButton);
    QCOMPARE(text("lblOu"), QString::fromStdString(view.lblOu));
}

void MainWindowTest::reversed_view_with_unknown_hour_leaves_hour_relations_empty() {
    QVERIFY(enter({"1975", "3", "8", "?", ""}));
    compute();
    QCOMPARE(text("hKan"), QStringLiteral("□"));
    QTest::mouseClick(button("btn_000"), Qt::LeftButton);
    QVERIFY(text("lbl_hSeikoku").isEmpty());
    QVERIFY(text("lbl_hzSeikoku").isEmpty());
    QVERIFY(!text("lbl_ySeikoku").isEmpty());
}

void MainWindowTest::arrows_step_from_shown_text_and_stop_at_range_ends_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("arrow");
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("expected");
    QTest::newRow("minutes up from 0") << "udJisahun"
                                       << "txtJisahun"
                                       << "0"
                                       << "up" << 3 << "3";
    QTest::newRow("minutes down below 0") << "udJisahun"
                                          << "txtJisahun"
                                          << "0"
                                          << "down" << 2 << "-2";
    QTest::newRow("minutes stop at 48") << "udJisahun"
                                        << "txtJisahun"
                                        << "46"
                                        << "up" << 5 << "48";
    QTest::newRow("minutes stop at -49") << "udJisahun"
                                         << "txtJisahun"
                                         << "-47"
                                         << "down" << 5 << "-49";
    QTest::newRow("minutes continue from the map's -18") << "udJisahun"
                                                         << "txtJisahun"
                                                         << "-18"
                                                         << "up" << 1 << "-17";
    QTest::newRow("minutes from -0 go to -1") << "udJisahun"
                                              << "txtJisahun"
                                              << "-0"
                                              << "down" << 1 << "-1";
    QTest::newRow("seconds stop at 0") << "udJisabyo"
                                       << "txtJisabyo"
                                       << "1"
                                       << "down" << 3 << "0";
    QTest::newRow("seconds stop at 59") << "udJisabyo"
                                        << "txtJisabyo"
                                        << "57"
                                        << "up" << 4 << "59";
    QTest::newRow("seconds continue from typed 30") << "udJisabyo"
                                                    << "txtJisabyo"
                                                    << "30"
                                                    << "up" << 1 << "31";
    QTest::newRow("seconds typed 90 come into range") << "udJisabyo"
                                                      << "txtJisabyo"
                                                      << "90"
                                                      << "up" << 1 << "59";
    QTest::newRow("seconds from text without digits") << "udJisabyo"
                                                      << "txtJisabyo"
                                                      << "abc"
                                                      << "up" << 1 << "1";
}

void MainWindowTest::arrows_step_from_shown_text_and_stop_at_range_ends() {
    QFETCH(QString, control);
    QFETCH(QString, box);
    QFETCH(QString, start);
    QFETCH(QString, arrow);
    QFETCH(int, presses);
    QFETCH(QString, expected);
    child<QLineEdit>(qPrintable(box))->setText(start);
    auto* arrow_button = child<QWidget>(qPrintable(control))->findChild<QToolButton*>(arrow);
    QVERIFY(arrow_button);
    for (int i = 0; i < presses; ++i) QTest::mouseClick(arrow_button, Qt::LeftButton);
    QCOMPARE(text(qPrintable(box)), expected);
}

void MainWindowTest::minus_zero_minutes_reach_the_chart_as_a_negative_offset() {
    // State: 30 seconds west of 135° E, written by the map as "-0" and "30".
    QVERIFY(enter({"1988", "11", "3", "6", "15"}));
    QTest::mouseClick(button("btnmap"), Qt::LeftButton);
    emit window->map_window()->decided("-0", "30");
    compute();

    const auto loaded = vantora::init_tables();
    QVERIFY(std::holds_alternative<vantora::TermTables>(loaded));
    vantora::BirthRecord record;
    record.birth_year = 1988;
    record.birth_month = 11;
    record.birth_day = 3;
    record.birth_hour = 6;
    record.birth_minute = 15;
    record.offset.minutes = 0;
    record.offset.seconds = 30;
    record.offset.negative = true;
    const auto west =
        std::get<vantora::Chart>(vantora::compute_chart(record, {}, std::get<vantora::TermTables>(loaded)));
    record.offset.negative = false;
    const auto east =
        std::get<vantora::Chart>(vantora::compute_chart(record, {}, std::get<vantora::TermTables>(loaded)));
    QVERIFY(west.texts.txtShin != east.texts.txtShin);
    QCOMPARE(text("txtShin"), QString::fromStdString(west.texts.txtShin));
    QCOMPARE(text("txtKinjisa"), QString::fromStdString(west.texts.txtKinjisa));
    QCOMPARE(window->last_chart()->jisa, -30.0 / 86400);
}

void MainWindowTest::export_and_popup_receive_the_shown_chart() {
    QVERIFY(enter({"2000", "1", "1", "12", "0"}));
    QTest::mouseClick(child<QRadioButton>("optM"), Qt::LeftButton);
    compute();
    QTest::mouseClick(button("btnexport"), Qt::LeftButton);
    QVERIFY(window->export_window());
    QVERIFY(window->export_window()->isVisible());
    const QString exported =
        window->export_window()->findChild<QPlainTextEdit*>("txtzarvel01")->toPlainText();
    QVERIFY(exported.contains(QStringLiteral("2000年1月1日12時0分")));
    QVERIFY(exported.contains(QStringLiteral("男")));
    // The same window is reused by the next press.
    const auto first = window->export_window();
    QTest::mouseClick(button("btnexport"), Qt::LeftButton);
    QCOMPARE(window->export_window().data(), first.data());

    action("menupop")->trigger();
    QVERIFY(window->popup_window());
    QVERIFY(window->popup_window()->isVisible());
}

void MainWindowTest::answering_modals(const std::function<void()>& trigger,
                                      const std::function<void(QWidget*)>& answer) {
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) answer(modal);
    });
    poll.start();
    trigger();
}

void MainWindowTest::every_menu_item_has_its_own_shortcut() {
    QHash<QKeySequence, QString> owner;
    for (QAction* item : window->findChildren<QAction*>()) {
        if (item->isSeparator() || item->menu() || item->shortcut().isEmpty()) continue;
        QVERIFY2(!owner.contains(item->shortcut()),
                 qPrintable(item->objectName() + " and " + owner.value(item->shortcut())));
        owner.insert(item->shortcut(), item->objectName());
    }
    QCOMPARE(action("menuprint")->shortcut(), QKeySequence("Ctrl+Shift+P"));
    QCOMPARE(action("menupdf")->shortcut(), QKeySequence("Ctrl+Shift+S"));
    QCOMPARE(action("menupop")->shortcut(), QKeySequence("Ctrl+P"));
}

void MainWindowTest::print_item_offers_an_a4_portrait_page() {
    QVERIFY(enter({"2000", "1", "1", "12", "0"}));
    compute();
    // Action: 印刷…, then cancel the dialog. Expected: the printer dialog, set for A4 portrait.
    std::optional<QPageLayout> layout;
    answering_modals([&] { action("menuprint")->trigger(); },
                     [&](QWidget* modal) {
                         if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
                             layout = dialog->printer()->pageLayout();
                             dialog->reject();
                         }
                     });
    QVERIFY(layout);
    QCOMPARE(layout->pageSize().id(), QPageSize::A4);
    QCOMPARE(layout->orientation(), QPageLayout::Portrait);
}

void MainWindowTest::pdf_item_writes_the_chosen_file_or_reports_why_not_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("written");
    QTest::newRow("a new file") << "chart.pdf" << true;
    QTest::newRow("in a folder that does not exist") << "no such folder/chart.pdf" << false;
}

void MainWindowTest::pdf_item_writes_the_chosen_file_or_reports_why_not() {
    QFETCH(QString, file);
    QFETCH(bool, written);
    QTemporaryDir folder;
    const QString path = folder.filePath(file);
    QVERIFY(enter({"2000", "1", "1", "12", "0"}));
    compute();
    // Action: PDFに保存…, answering the file dialog with path.
    QString message;
    answering_modals([&] { action("menupdf")->trigger(); },
                     [&](QWidget* modal) {
                         if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                             // selectFile() leaves a name box that has the focus as it is.
                             if (QWidget* focused = dialog->focusWidget()) focused->clearFocus();
                             dialog->selectFile(path);
                             static_cast<QDialog*>(dialog)->accept(); // QFileDialog's own accept()
                         } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                             message = box->text();
                             box->accept();
                         }
                     });
    // Expected: a PDF document, or a message that names the file.
    QFile pdf(path);
    QCOMPARE(pdf.open(QIODevice::ReadOnly), written);
    if (written) {
        QVERIFY(pdf.read(5) == "%PDF-");
        QVERIFY(message.isEmpty());
    } else {
        QVERIFY2(message.startsWith(QStringLiteral("PDFを保存できませんでした。")), qPrintable(message));
        QVERIFY2(message.contains(path), qPrintable(message));
    }
}

void MainWindowTest::exit_button_closes_every_window() {
    window->show();
    QVERIFY(accept_year("1970"));
    QTest::mouseClick(button("btnmap"), Qt::LeftButton);
    QVERIFY(enter({"1970", "1", "2", "3", "4"}));
    compute();
    QTest::mouseClick(button("btnexport"), Qt::LeftButton);
    QTest::mouseClick(button("btnpop"), Qt::LeftButton);
    QVERIFY(window->map_window()->isVisible());
    QTest::mouseClick(button("endbtn"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QVERIFY(!window->year_dialog()->isVisible());
    QVERIFY(window->isEnabled());
    // The windows closed through close() are destroyed.
    QTRY_VERIFY(!window->map_window());
    QTRY_VERIFY(!window->export_window());
    QTRY_VERIFY(!window->popup_window());
}

void MainWindowTest::loading_closes_the_startup_window() {
    QWidget startup;
    startup.show();
    MainWindow loaded;
    QVERIFY(loaded.Form_Load(&startup));
    QVERIFY(!startup.isVisible());
}

void MainWindowTest::closing_main_window_from_frame_closes_the_others() {
    // State: every secondary window open or hidden after use.
    window->show();
    QVERIFY(enter({"1970", "1", "2", "3", "4"}));
    compute();
    QTest::mouseClick(button("btnmap"), Qt::LeftButton);
    QTest::mouseClick(button("btnexport"), Qt::LeftButton);
    window->export_window()->hide();
    QTest::mouseClick(button("btnpop"), Qt::LeftButton);
    // Action: the main window's frame closes it (Form_Unload).
    QVERIFY(window->close());
    // Expected: nothing of the program stays on screen, so the event loop ends.
    QVERIFY(!window->isVisible());
    QVERIFY(!window->year_dialog()->isVisible());
    QTRY_VERIFY(!window->map_window());
    QTRY_VERIFY(!window->export_window());
    QTRY_VERIFY(!window->popup_window());
    for (QWidget* top : QApplication::topLevelWidgets())
        QVERIFY2(!top->isVisible(), qPrintable(top->objectName()));
}

void MainWindowTest::screenshots() {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(enter({"2000", "1", "1", "12", "0"}));
    compute();
    save_screenshot(window.get(), "main_window_chart");
    QTest::mouseClick(button("btn_000"), Qt::LeftButton);
    save_screenshot(window.get(), "main_window_reversed");
    QTest::mouseClick(button("btn_111"), Qt::LeftButton);
    QTest::mouseClick(button("yearInput"), Qt::LeftButton);
    YearDialog* dialog = window->year_dialog();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    save_screenshot(dialog, "year_dialog");
}

} // namespace

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
