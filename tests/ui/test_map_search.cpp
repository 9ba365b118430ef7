// The map window's place search "地名": typing lists places, choosing one fixes its point as a
// click would but with the place's own longitude and latitude, and the keyboard alone gets from
// the main window's Ctrl+M to the time difference.
#include "ui_test_support.hpp"

#include "ui/main_window.hpp"
#include "ui/map_window.hpp"
#include "ui/ui_common.hpp"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <memory>

using vantora::ui::MainWindow;
using vantora::ui::MapWindow;

namespace {

constexpr QRgb kCrosshairXor = qRgb(0, 203, 28) & 0x00ffffff;

/// Pixel of the map bitmap at a place, by the map's linear scale.
QPoint map_pixel(double lon, double lat) {
    return {static_cast<int>(std::lround((lon - 121.39834) / 0.0514679)),
            static_cast<int>(std::lround((49.00194 - lat) / 0.0514679))};
}

} // namespace

class MapSearchTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void typing_lists_matching_places_at_once();
    void choosing_a_place_fixes_it_as_a_click_would_data();
    void choosing_a_place_fixes_it_as_a_click_would();
    void a_place_off_the_picture_sets_only_the_labels();
    void fixed_place_is_released_like_a_clicked_point();
    void enter_fixes_a_single_place_or_says_why_not_data();
    void enter_fixes_a_single_place_or_says_why_not();
    void keyboard_alone_from_ctrl_m_to_the_time_difference();
    void screenshot();

private:
    QLineEdit* field() const { return window_->findChild<QLineEdit*>("txtPlace"); }
    QAbstractItemView* list() const { return field()->completer()->popup(); }
    QString label(const char* name) const { return window_->findChild<QLabel*>(name)->text(); }
    QPushButton* button(const char* name) const { return window_->findChild<QPushButton*>(name); }
    QStringList value_labels() const {
        return {label("lblido"), label("lblihun"), label("lblibyou"),
                label("lblkdo"), label("lblkhun"), label("lblkbyou")};
    }
    /// Whether the shown map differs from the bitmap at p by the crosshair's exclusive-or colour.
    bool marked(QPoint p) const {
        return ((window_->shown_map().pixel(p) ^ clean_map_.pixel(p)) & 0x00ffffff) == kCrosshairXor;
    }
    /// Makes another window active, then the map again (the map resets on activation).
    void reactivate_map();
    /// Text typed through the input method, as a Japanese keyboard delivers it.
    static void type_text(QWidget* target, const QString& text);
    /// Types a name over the field's text and presses Down and Enter: the first place of the
    /// list is chosen.
    void choose_first(const QString& typed);

    QPointer<MapWindow> window_;
    QImage clean_map_;
};

void MapSearchTest::initTestCase() {
    vantora::ui::testing::prepare_ui_test();
    clean_map_ = QImage(vantora::ui::data_path("japan_map.bmp")).convertToFormat(QImage::Format_RGB32);
}

void MapSearchTest::init() {
    window_ = new MapWindow;
    window_->show();
    QVERIFY(vantora::ui::testing::wait_until_active(window_));
}

void MapSearchTest::cleanup() {
    delete window_;
}

void MapSearchTest::type_text(QWidget* target, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(target, &commit);
}

void MapSearchTest::reactivate_map() {
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(vantora::ui::testing::wait_until_active(&other));
    window_->activateWindow();
    QVERIFY(vantora::ui::testing::wait_until_active(window_));
}

void MapSearchTest::choose_first(const QString& typed) {
    field()->setFocus();
    field()->selectAll(); // typing replaces what the field still holds
    type_text(field(), typed);
    QTRY_VERIFY(list()->isVisible());
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Return);
}

void MapSearchTest::typing_lists_matching_places_at_once() {
    // State: the map just opened. Action: 「綾部市本町」 typed. Expected: the field has the focus
    // and its list shows the town's districts in order, first of all without waiting.
    QCOMPARE(QApplication::focusWidget(), field());
    type_text(field(), QStringLiteral("綾部市本町"));
    QVERIFY(list()->isVisible());
    QCOMPARE(list()->model()->rowCount(), 8);
    QCOMPARE(list()->model()->index(0, 0).data().toString(), QStringLiteral("京都府綾部市本町一丁目"));
    QCOMPARE(list()->model()->index(7, 0).data().toString(), QStringLiteral("京都府綾部市本町八丁目"));
    // Typing on narrows the list; a name of no place empties it.
    type_text(field(), QStringLiteral("三"));
    QCOMPARE(list()->model()->rowCount(), 1);
    type_text(field(), QStringLiteral("x"));
    QCOMPARE(list()->model()->rowCount(), 0);
}

void MapSearchTest::choosing_a_place_fixes_it_as_a_click_would_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("labels"); // north d m s, east d m s: the place's own, floored
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
    // The same texts as vantora-chart --place gives (tests/calc).
    QTest::newRow("東経135°15′37″") << "綾部市本町一丁目"
                                    << "京都府綾部市本町一丁目"
                                    << QStringList{"35", "17", "51", "135", "15", "37"}
                                    << map_pixel(135.260471, 35.297512) << "1"
                                    << "2";
    QTest::newRow("seconds floored: 141°19′45.85″")
        << "北十条西十六丁目"
        << "北海道札幌市中央区北十条西十六丁目" << QStringList{"43", "4", "13", "141", "19", "45"}
        << map_pixel(141.329404, 43.070386) << "25"
        << "18";
    QTest::newRow("less than a minute west")
        << "夜久野町板生"
        << "京都府福知山市夜久野町板生" << QStringList{"35", "22", "52", "134", "56", "30"}
        << map_pixel(134.941827, 35.381163) << "-0"
        << "14";
}

void MapSearchTest::choosing_a_place_fixes_it_as_a_click_would() {
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QStringList, labels);
    QFETCH(QPoint, pixel);
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QSignalSpy decided(window_.data(), &MapWindow::decided);

    choose_first(typed);

    QCOMPARE(field()->text(), name);
    QCOMPARE(value_labels(), labels);
    QCOMPARE(window_->map_lock(), 1);
    QVERIFY(button("btndecide")->isEnabled());
    QVERIFY(button("btncancel")->isEnabled());
    QCOMPARE(QApplication::focusWidget(), button("btndecide"));
    // The crosshair runs through the place's pixel, where its two lines cancel out.
    const QPoint far(pixel.x() < 250 ? 499 : 0, pixel.y() < 250 ? 499 : 0);
    QVERIFY(marked(QPoint(pixel.x(), far.y())));
    QVERIFY(marked(QPoint(far.x(), pixel.y())));
    QVERIFY(!marked(pixel));
    QVERIFY(!marked(QPoint(pixel.x() + 1, far.y())));

    QTest::keyClick(button("btndecide"), Qt::Key_Return);
    QCOMPARE(decided.count(), 1);
    QCOMPARE(decided.front(), (QVariantList{minutes, seconds}));
    QVERIFY(!window_->isVisible());
}

void MapSearchTest::a_place_off_the_picture_sets_only_the_labels() {
    QSignalSpy decided(window_.data(), &MapWindow::decided);
    choose_first(QStringLiteral("南鳥島")); // 153.980589° E, east of the picture's 147.1° E
    QCOMPARE(value_labels(), (QStringList{"24", "17", "21", "153", "58", "50"}));
    QCOMPARE(window_->map_lock(), 1);
    QCOMPARE(window_->shown_map(), clean_map_);
    QTest::mouseClick(button("btndecide"), Qt::LeftButton);
    QCOMPARE(decided.front(), (QVariantList{"75", "55"})); // beyond the ±59 one may type
}

void MapSearchTest::fixed_place_is_released_like_a_clicked_point() {
    const QString name = QStringLiteral("京都府綾部市本町一丁目");
    QWidget* picture = window_->findChild<QWidget*>("Picture1");

    // Right click: released, map clean, labels kept until the pointer moves.
    choose_first(QStringLiteral("綾部市本町一丁目"));
    const QStringList place_labels = value_labels();
    QTest::mouseClick(picture, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    QCOMPARE(window_->map_lock(), 0);
    QVERIFY(!button("btndecide")->isEnabled());
    QCOMPARE(window_->shown_map(), clean_map_);
    QCOMPARE(value_labels(), place_labels);

    // "取消": the same.
    choose_first(QStringLiteral("綾部市本町一丁目"));
    QTest::mouseClick(button("btncancel"), Qt::LeftButton);
    QCOMPARE(window_->map_lock(), 0);
    QCOMPARE(window_->shown_map(), clean_map_);

    // Choosing another place while one is fixed moves the point.
    choose_first(QStringLiteral("綾部市本町一丁目"));
    choose_first(QStringLiteral("南鳥島"));
    QCOMPARE(window_->shown_map(), clean_map_);
    QCOMPARE(label("lblkdo"), QStringLiteral("153"));

    // Re-activation: labels emptied, nothing fixed, the field keeps its text.
    reactivate_map();
    QCOMPARE(window_->map_lock(), 0);
    QCOMPARE(value_labels(), QStringList(6, QString()));
    QCOMPARE(field()->text(), QStringLiteral("東京都小笠原村南鳥島"));

    // "Close" and reopening: the same, and the field still holds the name.
    choose_first(QStringLiteral("綾部市本町一丁目"));
    QTest::mouseClick(button("btnClose"), Qt::LeftButton);
    QVERIFY(!window_->isVisible());
    window_->show();
    QVERIFY(vantora::ui::testing::wait_until_active(window_));
    QCOMPARE(window_->map_lock(), 0);
    QVERIFY(!button("btndecide")->isEnabled());
    QCOMPARE(field()->text(), name);
    // (The headless screen does not hand the reopened window the application's focus.)
    QCOMPARE(window_->focusWidget(), field());
}

void MapSearchTest::enter_fixes_a_single_place_or_says_why_not_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("note");    // empty: the place is fixed
    QTest::addColumn<QString>("degrees"); // east degrees shown, empty when nothing is fixed
    QTest::newRow("two cities of one name") << "府中市"
                                            << "候補が 2 件あります"
                                            << "";
    QTest::newRow("no such district") << "綾部市本町九丁目"
                                      << "見つかりません"
                                      << "";
    QTest::newRow("exact name of one city") << "東京都府中市"
                                            << ""
                                            << "139";
    QTest::newRow("only place containing it") << "南鳥島"
                                              << ""
                                              << "153";
    QTest::newRow("only district starting so") << "綾部市本町一"
                                               << ""
                                               << "135";
}

void MapSearchTest::enter_fixes_a_single_place_or_says_why_not() {
    // State: the map just opened. Action: a name typed, Enter on the field itself (not on the
    // list). Expected: one place matching is fixed; none or several leave a note, nothing fixed.
    QFETCH(QString, typed);
    QFETCH(QString, note);
    QFETCH(QString, degrees);
    field()->setFocus();
    type_text(field(), typed);
    list()->hide();
    QTest::keyClick(field(), Qt::Key_Return);
    QCOMPARE(label("lblPlaceNote"), note);
    QCOMPARE(label("lblkdo"), degrees);
    QCOMPARE(window_->map_lock(), note.isEmpty() ? 1 : 0);
    QCOMPARE(button("btndecide")->isEnabled(), note.isEmpty());
    if (!note.isEmpty()) {
        type_text(field(), QStringLiteral(" ")); // typing again clears the note
        QCOMPARE(label("lblPlaceNote"), QString());
    }
}

void MapSearchTest::keyboard_alone_from_ctrl_m_to_the_time_difference() {
    // State: the main window after start-up. Action: Ctrl+M, 「南鳥島」, Down, Enter, Enter.
    // Expected: the main window's boxes hold the map's texts for Minamitorishima.
    delete window_;
    auto main = std::make_unique<MainWindow>();
    QVERIFY(main->Form_Load());
    main->show();
    QVERIFY(vantora::ui::testing::wait_until_active(main.get()));
    QTest::keyClick(main.get(), Qt::Key_M, Qt::ControlModifier);
    window_ = main->map_window();
    QVERIFY(window_);
    QVERIFY(vantora::ui::testing::wait_until_active(window_));
    QCOMPARE(QApplication::focusWidget(), field());
    type_text(field(), QStringLiteral("南鳥島"));
    QTRY_VERIFY(list()->isVisible());
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!window_->isVisible());
    QCOMPARE(main->findChild<QLineEdit*>("txtJisahun")->text(), QStringLiteral("75"));
    QCOMPARE(main->findChild<QLineEdit*>("txtJisabyo")->text(), QStringLiteral("55"));
}

void MapSearchTest::screenshot() {
    // The list is a window of its own: it is painted onto the window's picture where it shows.
    field()->setFocus();
    type_text(field(), QStringLiteral("綾部市本町"));
    QTRY_VERIFY(list()->isVisible());
    QTest::keyClick(list(), Qt::Key_Down);
    QPixmap shot = window_->grab();
    {
        QPainter painter(&shot);
        painter.drawPixmap(window_->mapFromGlobal(list()->mapToGlobal(QPoint(0, 0))), list()->grab());
    }
    QDir().mkpath(VANTORA_SCREENSHOT_DIR);
    QVERIFY(shot.save(VANTORA_SCREENSHOT_DIR "/map_search.png"));
}

QTEST_MAIN(MapSearchTest)
#include "test_map_search.moc"
