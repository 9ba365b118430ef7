// A complete chart entered from the keyboard alone: every key goes to the widget that has the
// focus at that moment, so the test follows the focus the way a person without a mouse does.
#include "ui_test_support.hpp"

#include "ui/export_window.hpp"
#include "ui/main_window.hpp"
#include "ui/map_window.hpp"
#include "ui/menu_keys.hpp"
#include "ui/popup_window.hpp"
#include "ui/year_dialog.hpp"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>

using vantora::ui::MainWindow;
using namespace vantora::ui::testing;

namespace {

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void access_letters_of_captions_data();
    void access_letters_of_captions();
    void a_whole_chart_from_the_keyboard();
    void menu_items_by_alt_and_their_letters();
    void up_down_keys_follow_the_arrows_rules();

private:
    /// Sends a key to whatever has the focus now; fails the test when nothing has it.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1);
    QWidget* focused() const { return QApplication::focusWidget(); }
    template <class T> T* child(const char* name) const { return window->findChild<T*>(name); }

    std::unique_ptr<MainWindow> window;
};

void KeyboardTest::initTestCase() {
    prepare_ui_test();
}

void KeyboardTest::init() {
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(window->Form_Load());
    window->activateWindow();
    QVERIFY(wait_until_active(window.get()));
}

void KeyboardTest::cleanup() {
    window.reset();
}

void KeyboardTest::press(int key, Qt::KeyboardModifiers modifiers, int times) {
    for (int k = 0; k < times; ++k) {
        QWidget* target = focused();
        QVERIFY2(target, "no widget has the keyboard focus");
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
}

void KeyboardTest::access_letters_of_captions_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("letter");
    QTest::newRow("full-width letter") << "ファイル（Ｆ）"
                                       << "F";
    QTest::newRow("half-width close bracket") << "日本地図表示（M)"
                                              << "M";
    QTest::newRow("half-width brackets") << "Print (p)"
                                         << "P";
    QTest::newRow("letter before the ellipsis") << "名簿の読み込み（Ｉ）…"
                                                << "I";
    QTest::newRow("no letter") << "時差ゼロ"
                               << "";
    QTest::newRow("a digit is no letter") << "設定（１）"
                                          << "";
}

void KeyboardTest::access_letters_of_captions() {
    QFETCH(QString, caption);
    QFETCH(QString, letter);
    const QChar found = vantora::ui::access_letter(caption);
    QCOMPARE(found.isNull() ? QString() : QString(found), letter);
}

void KeyboardTest::a_whole_chart_from_the_keyboard() {
    // The year: 年入力 has the focus at start; Enter opens the dialog.
    QCOMPARE(focused(), child<QWidget>("yearInput"));
    press(Qt::Key_Return);
    vantora::ui::YearDialog* dialog = window->year_dialog();
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(wait_until_active(dialog));
    // A century button, then the list (typing finds the year), then Enter accepts.
    QCOMPARE(focused()->objectName(), QStringLiteral("y1900"));
    press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("y2000"));
    press(Qt::Key_Backtab);
    press(Qt::Key_Return); // 1900年代 again
    press(Qt::Key_Backtab);
    QCOMPARE(focused()->objectName(), QStringLiteral("List1"));
    QTest::keyClicks(focused(), "1975");
    QCOMPARE(dialog->chosen_year_text(), QStringLiteral("1975"));
    press(Qt::Key_Return);
    QVERIFY(!dialog->isVisible());
    QVERIFY(window->isEnabled());
    QVERIFY(wait_until_active(window.get()));

    // Month, day, hour and minute from their lists, each unlocking the next.
    QCOMPARE(focused()->objectName(), QStringLiteral("mSelect"));
    press(Qt::Key_Down, Qt::NoModifier, 3);
    press(Qt::Key_Tab);
    press(Qt::Key_Down, Qt::NoModifier, 8);
    press(Qt::Key_Tab);
    press(Qt::Key_Down, Qt::NoModifier, 16); // "?", "0", …, "14"
    press(Qt::Key_Tab);
    press(Qt::Key_Down, Qt::NoModifier, 7); // "?", "0", …, "5"
    QCOMPARE(child<QLineEdit>("txtBirthday")->text(), QStringLiteral("1975年3月8日14時5分"));

    // The sex: the option buttons move with the arrow keys.
    press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("optW"));
    press(Qt::Key_Right);
    QVERIFY(child<QRadioButton>("optM")->isChecked());

    // The time difference: −12 minutes by the arrow keys, 30 seconds typed.
    press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("txtJisahun"));
    press(Qt::Key_Down, Qt::NoModifier, 12);
    QCOMPARE(child<QLineEdit>("txtJisahun")->text(), QStringLiteral("-12"));
    press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("txtJisabyo"));
    press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focused(), "30");
    QCOMPARE(child<QLineEdit>("txtJisabyo")->text(), QStringLiteral("30"));

    // Compute.
    press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("btnmap"));
    press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("fInput"));
    press(Qt::Key_Return);
    QVERIFY(window->last_chart().has_value());
    QCOMPARE(window->last_chart()->texts.txtBirthday, std::string("1975年3月8日14時5分"));
    QCOMPARE(window->last_chart()->jisa, -12.0 / 1440 - 30.0 / 86400);

    // The export: reached by Tab, opened by Enter, copied with Ctrl+A Ctrl+C, closed by Escape.
    for (int k = 0; k < 8 && focused()->objectName() != QStringLiteral("btnexport"); ++k) press(Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), QStringLiteral("btnexport"));
    QApplication::clipboard()->clear();
    press(Qt::Key_Return);
    vantora::ui::ExportWindow* exported = window->export_window();
    QVERIFY(exported && exported->isVisible());
    QVERIFY(wait_until_active(exported));
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QApplication::clipboard()->text().contains(QStringLiteral("解命\r\n")));
    QCOMPARE(QApplication::clipboard()->text().count(QStringLiteral("\r\n")), 16);
    press(Qt::Key_Escape);
    QVERIFY(!exported->isVisible());
}

void KeyboardTest::menu_items_by_alt_and_their_letters() {
    // Alt+F, Alt+T and Alt+H open their menus; F10 the first one.
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* menu;
    } openers[] = {{Qt::Key_F, Qt::AltModifier, "menufile"},
                   {Qt::Key_T, Qt::AltModifier, "menutool"},
                   {Qt::Key_H, Qt::AltModifier, "menuhelp"},
                   {Qt::Key_F10, Qt::NoModifier, "menufile"}};
    for (const auto& opener : openers) {
        QTest::keyClick(window.get(), opener.key, opener.modifiers);
        QTRY_VERIFY2(QApplication::activePopupWidget(), opener.menu);
        QCOMPARE(QApplication::activePopupWidget()->objectName(), QString::fromLatin1(opener.menu));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        window->activateWindow();
    }

    // Inside ツール: M opens the map; Escape closes it as its Close button does.
    QTest::keyClick(window.get(), Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_M);
    vantora::ui::MapWindow* map = window->map_window();
    QVERIFY(map && map->isVisible());
    QVERIFY(wait_until_active(map));
    QTest::keyClick(map, Qt::Key_Escape);
    QVERIFY(!map->isVisible());

    // 時差ゼロ has no letter: the arrow keys and Enter reach it.
    window->activateWindow();
    QVERIFY(wait_until_active(window.get()));
    child<QLineEdit>("txtJisabyo")->setText("12");
    QTest::keyClick(window.get(), Qt::Key_T, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    auto* tools = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    while (tools->activeAction() != child<QAction>("menujisa01")) QTest::keyClick(tools, Qt::Key_Down);
    QTest::keyClick(tools, Qt::Key_Return);
    QCOMPARE(child<QLineEdit>("txtJisabyo")->text(), QStringLiteral("0"));

    // ヘルプ: V shows the About message (answered here by Enter).
    window->activateWindow();
    QVERIFY(wait_until_active(window.get()));
    bool answered = false;
    QTimer::singleShot(200, [&answered] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answered = box->objectName() == QStringLiteral("about_message");
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    QTest::keyClick(window.get(), Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_V);
    QTRY_VERIFY(answered);
}

void KeyboardTest::up_down_keys_follow_the_arrows_rules() {
    auto* minutes = child<QLineEdit>("txtJisahun");
    auto* seconds = child<QLineEdit>("txtJisabyo");
    const struct {
        QLineEdit* box;
        const char* start;
        Qt::Key key;
        int times;
        const char* expected;
    } cases[] = {
        {minutes, "0", Qt::Key_PageDown, 6, "-49"}, // stops at the end of the range
        {minutes, "40", Qt::Key_PageUp, 1, "48"},
        {minutes, "-0", Qt::Key_Up, 1, "1"}, // steps from the number shown
        {seconds, "55", Qt::Key_Up, 9, "59"},
        {seconds, "abc", Qt::Key_Down, 1, "0"},
        {seconds, "25", Qt::Key_PageDown, 1, "15"},
    };
    for (const auto& c : cases) {
        c.box->setText(c.start);
        c.box->setFocus();
        for (int k = 0; k < c.times; ++k) QTest::keyClick(c.box, c.key);
        QCOMPARE(c.box->text(), QString::fromLatin1(c.expected));
    }
    // After a chart, a key that steps disables 旺の逆転 as an arrow press does.
    window->findChild<QPushButton*>("btn_000")->setEnabled(true);
    seconds->setText("10");
    QTest::keyClick(seconds, Qt::Key_Up);
    QVERIFY(!window->findChild<QPushButton*>("btn_000")->isEnabled());
}

} // namespace

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
