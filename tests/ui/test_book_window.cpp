// The chart book window driven through the main window as a user drives it: opening a person
// fills the inputs and computes, saving asks before replacing a person of the same name, deleting
// asks first, and 開く is locked in the reversed view.
#include "ui_test_support.hpp"

#include "book/book.hpp"
#include "chart/compute_chart.hpp"
#include "chart/local_time.hpp"
#include "core/term_file.hpp"
#include "ui/book_window.hpp"
#include "ui/main_window.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(vantora::book::Entry)

using vantora::ui::BookWindow;
using vantora::ui::MainWindow;
using namespace vantora;
using namespace vantora::ui::testing;

namespace {

book::Entry person(const char* name, const char* hour, const char* minute, Sex sex,
                   const char* offset_minutes, const char* offset_seconds) {
    return {name,
            "よみ",
            "",
            {"1988", "2", "29", hour, minute, request::sex_word(sex), offset_minutes, offset_seconds, {}}};
}

/// Once a modal dialog is up, runs `act` on it (from the event loop, so the dialog's exec() returns).
void answer_modal(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start();
}

/// Presses the message box's button with that text.
void press(QWidget* modal, const QString& text) {
    for (QAbstractButton* b : qobject_cast<QMessageBox*>(modal)->buttons())
        if (b->text() == text) b->click();
}

/// Fills the person dialog's name and presses its OK button.
void name_and_accept(QWidget* modal, const QString& name) {
    modal->findChild<QLineEdit*>("txtName")->setText(name);
    QTest::mouseClick(modal->findChild<QPushButton*>("btnOk"), Qt::LeftButton);
}

class BookWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opening_a_person_fills_the_inputs_as_typed_and_computes_data();
    void opening_a_person_fills_the_inputs_as_typed_and_computes();
    void saving_asks_before_replacing_a_person_of_the_same_name();
    void delete_key_deletes_only_after_confirming();
    void open_is_locked_while_the_reversed_view_is_shown();
    void nothing_is_written_before_the_book_is_asked_for();
    void keyboard_reaches_every_control();
    void two_people_or_the_shown_chart_and_one_are_compared();
    void escape_closes_and_screenshot();

private:
    /// Saves people into the test's book file before the window opens it.
    void fill(const std::vector<book::Entry>& people) const;
    /// Opens the book window from the ファイル menu.
    BookWindow* open_window();
    QTableView* list() const { return window->book_window()->findChild<QTableView*>("lstBook"); }
    QPushButton* book_button(const char* name) const {
        return window->book_window()->findChild<QPushButton*>(name);
    }
    std::unique_ptr<book::Book> reopen() const { return std::move(std::get<0>(book::Book::open(path))); }

    std::unique_ptr<QTemporaryDir> dir;
    QString path;
    std::unique_ptr<MainWindow> window;
};

void BookWindowTest::initTestCase() {
    prepare_ui_test();
}

void BookWindowTest::init() {
    dir = std::make_unique<QTemporaryDir>();
    path = dir->filePath("book.sqlite3");
    window = std::make_unique<MainWindow>();
    QVERIFY(window->Form_Load());
    window->set_book_path(path);
}

void BookWindowTest::cleanup() {
    window.reset();
    dir.reset();
}

void BookWindowTest::fill(const std::vector<book::Entry>& people) const {
    auto book = reopen();
    for (const auto& e : people) QVERIFY(std::holds_alternative<book::Record>(book->save(e)));
}

BookWindow* BookWindowTest::open_window() {
    window->findChild<QAction*>("menubook")->trigger();
    BookWindow* book = window->book_window();
    return book && QTest::qWaitForWindowExposed(book) ? book : nullptr;
}

void BookWindowTest::opening_a_person_fills_the_inputs_as_typed_and_computes_data() {
    QTest::addColumn<book::Entry>("entry");
    QTest::newRow("minute known") << person("分まで", "14", "5", Sex::male, "0", "0");
    QTest::newRow("hour unknown, a greyed minute") << person("時不明", "?", "30", Sex::female, "5", "12");
    QTest::newRow("minute unknown") << person("分不明", "9", "?", Sex::male, "-3", "0");
    QTest::newRow("no minute chosen") << person("分なし", "23", "", Sex::female, "0", "0");
    QTest::newRow("minus zero, letters as seconds") << person("西へ", "0", "0", Sex::male, "-0", "abc");
}

void BookWindowTest::opening_a_person_fills_the_inputs_as_typed_and_computes() {
    QFETCH(book::Entry, entry);
    // State: the book holds the person and a second one; the main window is fresh.
    fill({entry, person("ほかの人", "1", "1", Sex::female, "0", "0")});
    QVERIFY(open_window());
    // Action: search the name, Enter on the list.
    // (Typed as an input method commits it: QTest types ASCII only.)
    window->book_window()->findChild<QLineEdit*>("txtSearch")->insert(QString::fromStdString(entry.name));
    QCOMPARE(list()->model()->rowCount(), 1);
    QTest::keyClick(list(), Qt::Key_Return);
    // Expected: the inputs read back as the entry, the lists show its texts and the chart is its own.
    book::Entry without_name = entry;
    without_name.name = without_name.kana = "";
    if (entry.birth.hour == "?") without_name.birth.minute = ""; // what the greyed list means: no minute
    QCOMPARE(window->current_entry(), std::optional<book::Entry>(without_name));
    QCOMPARE(window->findChild<QComboBox*>("mtSelect")->currentText(),
             QString::fromStdString(entry.birth.minute));
    QCOMPARE(window->findChild<QRadioButton*>("optM")->isChecked(), entry.birth.sex == "male");
    QCOMPARE(window->findChild<QLineEdit*>("txtBirthday")->text(),
             QString::fromStdString(request::birthday_data(entry.birth)));
    QVERIFY(window->isEnabled());
    QVERIFY(window->findChild<QPushButton*>("btn_000")->isEnabled());
    QVERIFY(window->last_chart());
    const auto tables = std::get<TermTables>(init_tables());
    const Chart expected =
        std::get<Chart>(compute_chart(request::birth_record(entry.birth), local_now(), tables));
    QCOMPARE(window->last_chart()->jBirthS, expected.jBirthS);
    QCOMPARE(window->last_chart()->birth_nl, expected.birth_nl);
    QCOMPARE(window->shown()->texts.hKan, expected.texts.hKan);
    QCOMPARE(window->shown()->texts.dun_kan, expected.texts.dun_kan);
}

void BookWindowTest::saving_asks_before_replacing_a_person_of_the_same_name() {
    QVERIFY(open_window());
    window->open_entry(person("", "10", "20", Sex::male, "0", "0"));
    // Action: 保存, name "山田". Expected: one person, male.
    answer_modal([](QWidget* dialog) {
        save_screenshot(dialog, "book_entry_dialog");
        name_and_accept(dialog, "山田");
    });
    QTest::mouseClick(book_button("btnSave"), Qt::LeftButton);
    QCOMPARE(list()->model()->rowCount(), 1);
    QCOMPARE(window->person_name(), std::optional<QString>("山田")); // heads a printed chart
    // Action: sex changed, 保存 under the same name, the question answered キャンセル, then 置き換える.
    QTest::mouseClick(window->findChild<QRadioButton*>("optW"), Qt::LeftButton);
    QCOMPARE(window->person_name(), std::nullopt); // the inputs are no longer 山田's
    for (const auto& [answer, expected] :
         {std::pair{"キャンセル", Sex::male}, std::pair{"置き換える", Sex::female}}) {
        QString question;
        answer_modal([&question, answer = QString(answer)](QWidget* dialog) {
            QCOMPARE(dialog->findChild<QLineEdit*>("txtName")->text(), QStringLiteral("山田"));
            answer_modal([&question, answer](QWidget* box) {
                question = qobject_cast<QMessageBox*>(box)->text();
                press(box, answer);
            });
            name_and_accept(dialog, "山田");
        });
        QTest::mouseClick(book_button("btnSave"), Qt::LeftButton);
        QVERIFY(question.contains("「山田」はすでに名簿にあります"));
        const auto saved = std::get<std::optional<book::Record>>(reopen()->find("山田"));
        QVERIFY(saved);
        QCOMPARE(saved->entry.birth.sex, std::string(request::sex_word(expected)));
        QCOMPARE(list()->model()->rowCount(), 1);
    }
    QCOMPARE(window->person_name(), std::optional<QString>("山田"));
}

void BookWindowTest::delete_key_deletes_only_after_confirming() {
    fill(
        {person("一人目", "1", "1", Sex::male, "0", "0"), person("二人目", "2", "2", Sex::female, "0", "0")});
    QVERIFY(open_window());
    list()->setFocus();
    for (const auto& [answer, left] : {std::pair{"キャンセル", 2}, std::pair{"削除する", 1}}) {
        answer_modal([answer = QString(answer)](QWidget* box) { press(box, answer); });
        QTest::keyClick(list(), Qt::Key_Delete);
        QCOMPARE(list()->model()->rowCount(), left);
        QCOMPARE(std::get<std::vector<book::Record>>(reopen()->list()).size(),
                 static_cast<std::size_t>(left));
    }
}

void BookWindowTest::open_is_locked_while_the_reversed_view_is_shown() {
    fill({person("一人目", "1", "1", Sex::male, "0", "0")});
    QVERIFY(open_window());
    QTest::mouseClick(book_button("btnOpen"), Qt::LeftButton);
    QVERIFY(window->last_chart());
    QTest::mouseClick(window->findChild<QPushButton*>("btn_000"), Qt::LeftButton);
    QVERIFY(!book_button("btnOpen")->isEnabled());
    QVERIFY(book_button("btnSave")->isEnabled());
    QTest::mouseClick(window->findChild<QPushButton*>("btn_111"), Qt::LeftButton);
    QVERIFY(book_button("btnOpen")->isEnabled());
}

void BookWindowTest::nothing_is_written_before_the_book_is_asked_for() {
    window->open_entry(person("", "1", "1", Sex::male, "0", "0"));
    QVERIFY(QDir(dir->path()).isEmpty());
    QVERIFY(open_window());
    QVERIFY(QFile::exists(path));
}

void BookWindowTest::keyboard_reaches_every_control() {
    fill({person("一人目", "14", "5", Sex::male, "0", "0")});
    const QPointer<BookWindow> book = open_window();
    QVERIFY(book);
    QVERIFY(wait_until_active(book));
    // Ctrl+B (the menu) leaves the focus in the search field; Alt+S, Tab and Enter go on from it.
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtSearch"));
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), book_button("btnOpen"));
    QTest::keyClick(book, Qt::Key_S, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtSearch"));
    book_button("btnClose")->setFocus();
    QTest::keyClick(book_button("btnClose"), Qt::Key_Return);
    QTRY_VERIFY(!book || !book->isVisible());
}

void BookWindowTest::two_people_or_the_shown_chart_and_one_are_compared() {
    // State: two people of 1988-02-29; nothing computed on the main window.
    fill({person("一郎", "14", "5", Sex::male, "0", "0"), person("花子", "6", "30", Sex::female, "0", "0")});
    QVERIFY(open_window());
    QPushButton* aisho = book_button("btnAisho");
    const auto names_shown = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmaisho" && w->isVisible())
                return w->findChild<QLabel*>("aName")->text() + "/" + w->findChild<QLabel*>("bName")->text();
        return QString();
    };
    const auto row_of = [this](const QString& name) {
        for (int r = 0; r < list()->model()->rowCount(); ++r)
            if (list()->model()->index(r, 0).data().toString() == name) return r;
        return -1;
    };
    // Expected: one person and no chart shown leave 相性 locked; two chosen unlock it and lock 開く.
    list()->selectRow(row_of("一郎"));
    QVERIFY(!aisho->isEnabled());
    list()->selectAll();
    QVERIFY(aisho->isEnabled());
    QVERIFY(!book_button("btnOpen")->isEnabled());
    // Action: 相性. Expected: both charts side by side, in the list's order, their relations listed.
    QTest::mouseClick(aisho, Qt::LeftButton);
    const QString first = list()->model()->index(0, 0).data().toString();
    const QString second = list()->model()->index(1, 0).data().toString();
    QCOMPARE(names_shown(), first + "/" + second);
    // Action: 一郎 opened into the main window, then 花子 alone and 相性.
    list()->selectRow(row_of("一郎"));
    QTest::keyClick(list(), Qt::Key_Return);
    list()->selectRow(row_of("花子"));
    QVERIFY(aisho->isEnabled());
    QTest::mouseClick(aisho, Qt::LeftButton);
    // Expected: the shown chart, named as the book person it still is, beside 花子.
    QCOMPARE(names_shown(), QStringLiteral("一郎/花子"));
}

void BookWindowTest::escape_closes_and_screenshot() {
    fill({{"山田太郎", "やまだたろう", "", {"1975", "3", "8", "14", "5", "male", "-0", "30", {}}},
          {"佐藤花子", "さとうはなこ", "母の友人", {"1952", "11", "23", "?", "", "female", "5", "0", {}}},
          {"鈴木一郎", "すずきいちろう", "", {"2001", "7", "1", "9", "?", "male", "-18", "20", {}}}});
    BookWindow* book = open_window();
    QVERIFY(book);
    save_screenshot(book, "book_window");
    QTest::keyClick(list(), Qt::Key_Escape);
    QVERIFY(!book->isVisible());
}

} // namespace

QTEST_MAIN(BookWindowTest)
#include "test_book_window.moc"
