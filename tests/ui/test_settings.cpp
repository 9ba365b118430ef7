// The settings dialog: rules chosen there apply to the chart and are kept for the next run; a
// clock time in summer time is noticed on the main window.
#include "ui_test_support.hpp"

#include "book/entry.hpp"
#include "chart/summer_time.hpp"
#include "ui/main_window.hpp"
#include "ui/popup_window.hpp"
#include "ui/settings_dialog.hpp"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vantora;
using namespace vantora::ui;
using namespace vantora::ui::testing;

namespace {

book::Entry birth(int year, int month, int day, const char* hour, const char* minute) {
    book::Entry e;
    e.birth = {
        std::to_string(year), std::to_string(month), std::to_string(day), hour, minute, "male", "0", "0", {}};
    return e;
}

QString day_pillar(const QWidget* window) {
    const ChartTexts t = texts_on_screen(window);
    return QString::fromStdString(t.dKan + t.dShi);
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
        prepare_ui_test();
    }

    void chosen_rules_apply_at_once_and_are_kept_for_the_next_run() {
        // State: default rules; 2000-01-01 23:30 (true solar 23:26.7) shows the day 戊午.
        MainWindow window;
        QVERIFY(window.Form_Load());
        window.open_entry(birth(2000, 1, 1, "23", "30"));
        QCOMPARE(day_pillar(&window), QStringLiteral("戊午"));
        // Action: ツール → 設定（Ｓ）…, the day changing at 23:00, OK.
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            save_screenshot(dialog, "settings_dialog");
            dialog->findChild<QComboBox*>("cmbDayChange")->setCurrentIndex(1);
            QTest::mouseClick(dialog->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        });
        window.findChild<QAction*>("menusettings")->trigger();
        // Expected: the chart is computed again with the next day's pillar, and a new window (the
        // next run) starts with the rule chosen.
        QCOMPARE(day_pillar(&window), QStringLiteral("己未"));
        MainWindow next_run;
        QTimer::singleShot(0, this, [] {
            auto* dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->findChild<QComboBox*>("cmbDayChange")->currentIndex(), 1);
            QTest::mouseClick(dialog->findChild<QPushButton*>("btnDefault"), Qt::LeftButton);
            QCOMPARE(dialog->chosen_rules(), ChartRules{});
            QTest::mouseClick(dialog->findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
        });
        next_run.findChild<QAction*>("menusettings")->trigger();
        QCOMPARE(saved_rules().day_change_at_23, true);
        save_rules({});
    }

    void a_clock_time_in_summer_time_shows_the_notice() {
        MainWindow window;
        QVERIFY(window.Form_Load());
        auto* notice = window.findChild<QLabel*>("lblNotice");
        window.open_entry(birth(1949, 7, 1, "12", "30"));
        QVERIFY(notice->isVisibleTo(&window));
        QCOMPARE(notice->text(), QString::fromUtf8(kSummerTimeNotice.data(), kSummerTimeNotice.size()));
        save_screenshot(&window, "main_window_summer_notice");
        window.findChild<QAction*>("menupop")->trigger();
        QWidget* popup = window.popup_window().data();
        QVERIFY(popup && popup->isVisible());
        QCOMPARE(popup->findChild<QLabel*>("lblNotice")->text(), notice->text());
        save_screenshot(popup, "popup_summer_notice");
        window.open_entry(birth(1952, 7, 1, "12", "30"));
        QVERIFY(!notice->isVisibleTo(&window));
    }

private:
    QTemporaryDir config_;
};

QTEST_MAIN(SettingsTest)
#include "test_settings.moc"
