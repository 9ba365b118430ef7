// The map of Japan: the position under the pointer, the crosshair marks, fixing and releasing a
// point, the decision's time-difference texts, and the reset on every activation.
#include "ui_test_support.hpp"

#include "chart/time_difference.hpp"
#include "ui/map_geometry.hpp"
#include "ui/map_window.hpp"
#include "ui/ui_common.hpp"

#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using vantora::ui::MapWindow;
namespace map = vantora::ui::map;

namespace {

constexpr QRgb kCrosshairXor = qRgb(0, 203, 28) & 0x00ffffff;
const QRgb kSea = qRgb(236, 236, 236);

/// Pixel of the map bitmap at a place, by the map's linear scale.
QPoint map_pixel(double lon, double lat) {
    return {static_cast<int>(std::lround((lon - 121.39834) / 0.0514679)),
            static_cast<int>(std::lround((49.00194 - lat) / 0.0514679))};
}

bool same_rgb(QRgb a, QRgb b) {
    return (a & 0x00ffffff) == (b & 0x00ffffff);
}

} // namespace

class MapWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // The arithmetic on its own.
    void longitude_of_a_column_data();
    void longitude_of_a_column();
    void latitude_of_a_row_data();
    void latitude_of_a_row();
    void decision_texts_data();
    void decision_texts();
    void unreadable_label_counts_as_zero();

    // The window.
    void pointer_shows_the_position_data();
    void pointer_shows_the_position();
    void browsing_flashes_the_crosshair_and_restores_the_map();
    void decide_and_cancel_are_disabled_until_a_point_is_fixed_data();
    void decide_and_cancel_are_disabled_until_a_point_is_fixed();
    void fixed_point_keeps_labels_and_picture();
    void right_click_releases_the_point();
    void cancel_button_releases_the_point();
    void buttons_that_do_nothing_data();
    void buttons_that_do_nothing();
    void decision_emits_the_shown_longitude_data();
    void decision_emits_the_shown_longitude();
    void decision_from_the_pointer_position();
    void reactivation_resets_labels_and_buttons();
    void close_button_hides_and_reopening_resets();
    void closing_through_frame_is_reported_and_destroys();

    void map_bitmap_is_drawn_to_the_scale_data();
    void map_bitmap_is_drawn_to_the_scale();
    void screenshot();

private:
    QWidget* picture() const { return window_->findChild<QWidget*>("Picture1"); }
    QString label(const char* name) const { return window_->findChild<QLabel*>(name)->text(); }
    QPushButton* button(const char* name) const { return window_->findChild<QPushButton*>(name); }
    QStringList value_labels() const {
        return {label("lblido"), label("lblihun"), label("lblibyou"),
                label("lblkdo"), label("lblkhun"), label("lblkbyou")};
    }
    void move_pointer(QPoint at) const;
    void activate_map();

    QPointer<MapWindow> window_;
    QImage clean_map_;
};

void MapWindowTest::initTestCase() {
    vantora::ui::testing::prepare_ui_test();
    clean_map_ = QImage(vantora::ui::data_path("japan_map.bmp")).convertToFormat(QImage::Format_RGB32);
    QVERIFY2(clean_map_.size() == QSize(500, 500), "japan_map.bmp beside the test");
}

void MapWindowTest::init() {
    window_ = new MapWindow;
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void MapWindowTest::cleanup() {
    delete window_;
}

// A pointer move without buttons, delivered to the picture as the window system delivers it
// (QTest's button-less move goes through the global cursor, which a headless screen may ignore).
void MapWindowTest::move_pointer(QPoint at) const {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), picture()->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(picture(), &move);
}

void MapWindowTest::activate_map() {
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_));
}

// ---- arithmetic ---------------------------------------------------------------------------

void MapWindowTest::longitude_of_a_column_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<int>("degrees");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("seconds");
    QTest::newRow("column 0, west edge") << 0.0f << 121 << 23 << 54;
    QTest::newRow("column 265, the 135° meridian line") << 265.0f << 135 << 2 << 14;
    QTest::newRow("column 499, east edge") << 499.0f << 147 << 4 << 50;
}

void MapWindowTest::longitude_of_a_column() {
    QFETCH(float, x);
    QFETCH(int, degrees);
    QFETCH(int, minutes);
    QFETCH(int, seconds);
    QCOMPARE(vantora::split_dms(map::longitude_at(x)), (vantora::Dms{degrees, minutes, seconds}));
}

void MapWindowTest::latitude_of_a_row_data() {
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("degrees");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("seconds");
    QTest::newRow("row 0, 49.0019416809082 in single precision") << 0.0f << 49 << 0 << 6;
    // Rows where a double-precision split would give one second less.
    QTest::newRow("row 123, single precision keeps 17″") << 123.0f << 42 << 40 << 17;
    QTest::newRow("row 232, single precision keeps 41″") << 232.0f << 37 << 3 << 41;
    QTest::newRow("row 457, single precision keeps 52″") << 457.0f << 25 << 28 << 52;
}

void MapWindowTest::latitude_of_a_row() {
    QFETCH(float, y);
    QFETCH(int, degrees);
    QFETCH(int, minutes);
    QFETCH(int, seconds);
    QCOMPARE(vantora::split_dms(map::latitude_at(y)), (vantora::Dms{degrees, minutes, seconds}));
}

void MapWindowTest::decision_texts_data() {
    QTest::addColumn<QString>("degrees");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("minutes_text");
    QTest::addColumn<QString>("seconds_text");
    QTest::newRow("139°45′0″: v = 19") << "139"
                                       << "45"
                                       << "0"
                                       << "19"
                                       << "0";
    QTest::newRow("130°22′30″: v = -18.5") << "130"
                                           << "22"
                                           << "30"
                                           << "-18"
                                           << "30";
    QTest::newRow("135°2′14″: v = 0.1489") << "135"
                                           << "2"
                                           << "14"
                                           << "0"
                                           << "8";
    QTest::newRow("139°40′0″: fraction 39.99… truncates to 39") << "139"
                                                                << "40"
                                                                << "0"
                                                                << "18"
                                                                << "39";
    QTest::newRow("134°52′30″: v = -0.5 keeps its sign as -0") << "134"
                                                               << "52"
                                                               << "30"
                                                               << "-0"
                                                               << "30";
    QTest::newRow("133°20′0″: double rounding loses a second") << "133"
                                                               << "20"
                                                               << "0"
                                                               << "-6"
                                                               << "39";
    QTest::newRow("135°0′0″: no difference") << "135"
                                             << "0"
                                             << "0"
                                             << "0"
                                             << "0";
    QTest::newRow("121°23′54″: west edge") << "121"
                                           << "23"
                                           << "54"
                                           << "-54"
                                           << "24";
    QTest::newRow("147°4′50″: east edge") << "147"
                                          << "4"
                                          << "50"
                                          << "48"
                                          << "19";
}

void MapWindowTest::decision_texts() {
    QFETCH(QString, degrees);
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(QString, minutes_text);
    QFETCH(QString, seconds_text);
    const vantora::TimeDifferenceTexts texts = vantora::time_difference_texts(
        vantora::longitude_from_texts(degrees.toStdString(), minutes.toStdString(), seconds.toStdString()));
    QCOMPARE(QString::fromStdString(texts.minutes), minutes_text);
    QCOMPARE(QString::fromStdString(texts.seconds), seconds_text);
}

void MapWindowTest::unreadable_label_counts_as_zero() {
    QCOMPARE(vantora::longitude_from_texts("139", "", "x"), 139.0);
    QCOMPARE(vantora::longitude_from_texts("139", "30", "36"), 139.51);
}

// ---- the window ---------------------------------------------------------------------------

void MapWindowTest::pointer_shows_the_position_data() {
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QStringList>("labels"); // lat d, m, s, lon d, m, s
    QTest::newRow("column 0") << QPoint(0, 123) << QStringList{"42", "40", "17", "121", "23", "54"};
    QTest::newRow("row 0") << QPoint(265, 0) << QStringList{"49", "0", "6", "135", "2", "14"};
    QTest::newRow("near Tokyo") << QPoint(355, 259) << QStringList{"35", "40", "18", "139", "40", "10"};
}

void MapWindowTest::pointer_shows_the_position() {
    QFETCH(QPoint, pixel);
    QFETCH(QStringList, labels);
    move_pointer(pixel);
    QCOMPARE(value_labels(), labels);
}

void MapWindowTest::browsing_flashes_the_crosshair_and_restores_the_map() {
    QCOMPARE(window_->shown_map(), clean_map_);
    move_pointer({100, 200});
    // Right after the move the crosshair is drawn in exclusive-or over column 100 and row 200…
    const QImage flashed = window_->shown_map();
    QCOMPARE(flashed.pixel(100, 10), clean_map_.pixel(100, 10) ^ kCrosshairXor);
    QCOMPARE(flashed.pixel(400, 200), clean_map_.pixel(400, 200) ^ kCrosshairXor);
    // …the crossing pixel is drawn twice and so unchanged…
    QVERIFY(same_rgb(flashed.pixel(100, 200), clean_map_.pixel(100, 200)));
    // …and a moment later the map is as loaded, bit for bit.
    QTRY_COMPARE_WITH_TIMEOUT(window_->shown_map(), clean_map_, 500);
}

void MapWindowTest::decide_and_cancel_are_disabled_until_a_point_is_fixed_data() {
    QTest::addColumn<Qt::MouseButton>("fixing");
    QTest::newRow("left button") << Qt::LeftButton;
    QTest::newRow("middle button") << Qt::MiddleButton;
}

void MapWindowTest::decide_and_cancel_are_disabled_until_a_point_is_fixed() {
    QFETCH(Qt::MouseButton, fixing);
    QVERIFY(!button("btndecide")->isEnabled());
    QVERIFY(!button("btncancel")->isEnabled());
    move_pointer({150, 150});
    QVERIFY(!button("btndecide")->isEnabled());

    QTest::mousePress(picture(), fixing, Qt::NoModifier, {355, 259});

    QCOMPARE(window_->map_lock(), 1);
    QVERIFY(button("btndecide")->isEnabled());
    QVERIFY(button("btncancel")->isEnabled());
    QCOMPARE(value_labels(), (QStringList{"35", "40", "18", "139", "40", "10"}));
    // The fixed crosshair stays after the flashes are over.
    QTest::qWait(60);
    QCOMPARE(window_->shown_map().pixel(355, 20), clean_map_.pixel(355, 20) ^ kCrosshairXor);
    QCOMPARE(window_->shown_map().pixel(20, 259), clean_map_.pixel(20, 259) ^ kCrosshairXor);
}

void MapWindowTest::fixed_point_keeps_labels_and_picture() {
    QTest::mousePress(picture(), Qt::LeftButton, Qt::NoModifier, {355, 259});
    QTest::qWait(60);
    const QStringList fixed_labels = value_labels();
    const QImage fixed_map = window_->shown_map();

    move_pointer({40, 60});
    move_pointer({480, 400});

    QCOMPARE(value_labels(), fixed_labels);
    QCOMPARE(window_->shown_map(), fixed_map);
    QTest::qWait(60);
    QCOMPARE(window_->shown_map(), fixed_map);
}

void MapWindowTest::right_click_releases_the_point() {
    QTest::mousePress(picture(), Qt::LeftButton, Qt::NoModifier, {355, 259});
    const QStringList fixed_labels = value_labels();

    QTest::mousePress(picture(), Qt::RightButton, Qt::NoModifier, {10, 10});

    QCOMPARE(window_->map_lock(), 0);
    QVERIFY(!button("btndecide")->isEnabled());
    QVERIFY(!button("btncancel")->isEnabled());
    QCOMPARE(value_labels(), fixed_labels); // kept until the next move
    QTRY_COMPARE_WITH_TIMEOUT(window_->shown_map(), clean_map_, 500);
    move_pointer({265, 0});
    QCOMPARE(value_labels(), (QStringList{"49", "0", "6", "135", "2", "14"}));
}

void MapWindowTest::cancel_button_releases_the_point() {
    move_pointer({200, 200}); // a flash still pending when the point is released
    QTest::mousePress(picture(), Qt::LeftButton, Qt::NoModifier, {355, 259});
    QTest::mouseClick(button("btncancel"), Qt::LeftButton);

    QCOMPARE(window_->map_lock(), 0);
    QVERIFY(!button("btndecide")->isEnabled());
    QVERIFY(!button("btncancel")->isEnabled());
    QCOMPARE(window_->shown_map(), clean_map_);
    QTest::qWait(60); // the pending flash undo must not mark the released map
    QCOMPARE(window_->shown_map(), clean_map_);
}

void MapWindowTest::buttons_that_do_nothing_data() {
    QTest::addColumn<bool>("fixed_first");
    QTest::addColumn<Qt::MouseButton>("pressed");
    QTest::newRow("right button while browsing") << false << Qt::RightButton;
    QTest::newRow("left button while fixed") << true << Qt::LeftButton;
    QTest::newRow("middle button while fixed") << true << Qt::MiddleButton;
    QTest::newRow("back button while browsing") << false << Qt::BackButton;
}

void MapWindowTest::buttons_that_do_nothing() {
    QFETCH(bool, fixed_first);
    QFETCH(Qt::MouseButton, pressed);
    if (fixed_first) QTest::mousePress(picture(), Qt::LeftButton, Qt::NoModifier, {355, 259});
    QTest::qWait(60);
    const QStringList labels_before = value_labels();
    const QImage map_before = window_->shown_map();
    const int lock_before = window_->map_lock();

    QTest::mousePress(picture(), pressed, Qt::ShiftModifier, {30, 40});

    QCOMPARE(window_->map_lock(), lock_before);
    QCOMPARE(value_labels(), labels_before);
    QCOMPARE(window_->shown_map(), map_before);
    QCOMPARE(button("btndecide")->isEnabled(), fixed_first);
}

void MapWindowTest::decision_emits_the_shown_longitude_data() {
    decision_texts_data();
}

void MapWindowTest::decision_emits_the_shown_longitude() {
    QFETCH(QString, degrees);
    QFETCH(QString, minutes);
    QFETCH(QString, seconds);
    QFETCH(QString, minutes_text);
    QFETCH(QString, seconds_text);
    QSignalSpy decided(window_.data(), &MapWindow::decided);
    QTest::mousePress(picture(), Qt::LeftButton, Qt::NoModifier, {100, 100});
    // The decision reads the labels, not the pointer: put the case's longitude there.
    window_->findChild<QLabel*>("lblkdo")->setText(degrees);
    window_->findChild<QLabel*>("lblkhun")->setText(minutes);
    window_->findChild<QLabel*>("lblkbyou")->setText(seconds);

    QTest::mouseClick(button("btndecide"), Qt::LeftButton);

    QCOMPARE(decided.count(), 1);
    QCOMPARE(decided.at(0).at(0).toString(), minutes_text);
    QCOMPARE(decided.at(0).at(1).toString(), seconds_text);
    QVERIFY(!window_->isVisible());
    QVERIFY(window_); // hidden, not destroyed
}

void MapWindowTest::decision_from_the_pointer_position() {
    QSignalSpy decided(window_.data(), &MapWindow::decided);
    // State: browsing. Action: fix the point on the meridian line and press "決定".
    QTest::mousePress(picture(), Qt::LeftButton, Qt::NoModifier, {265, 300});
    QTest::mouseClick(button("btndecide"), Qt::LeftButton);
    // Expected: 135°2′14″ gives 0 minutes 8 seconds; "取消" stays enabled, the lock stays.
    QCOMPARE(decided.count(), 1);
    QCOMPARE(decided.at(0), (QList<QVariant>{QStringLiteral("0"), QStringLiteral("8")}));
    QVERIFY(button("btncancel")->isEnabled());
    QCOMPARE(window_->map_lock(), 1);
}

void MapWindowTest::reactivation_resets_labels_and_buttons() {
    activate_map();
    QTest::mousePress(picture(), Qt::LeftButton, Qt::NoModifier, {355, 259});
    QCOMPARE(window_->map_lock(), 1);

    // Action: switch to another window and back.
    QWidget other;
    other.resize(100, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    activate_map();

    // Expected: the fixed point is lost: no lock, empty labels, buttons disabled.
    QCOMPARE(window_->map_lock(), 0);
    QCOMPARE(value_labels(), (QStringList{"", "", "", "", "", ""}));
    QVERIFY(!button("btndecide")->isEnabled());
    QVERIFY(!button("btncancel")->isEnabled());
    QCOMPARE(window_->windowTitle(), QStringLiteral("日本地図"));
}

void MapWindowTest::close_button_hides_and_reopening_resets() {
    QTest::mousePress(picture(), Qt::LeftButton, Qt::NoModifier, {355, 259});
    QTest::mouseClick(button("btnClose"), Qt::LeftButton);
    QVERIFY(window_);
    QVERIFY(!window_->isVisible());

    window_->show();
    activate_map();

    QCOMPARE(window_->map_lock(), 0);
    QCOMPARE(value_labels(), (QStringList{"", "", "", "", "", ""}));
    QVERIFY(!button("btndecide")->isEnabled());
    QVERIFY(!button("btncancel")->isEnabled());
}

void MapWindowTest::closing_through_frame_is_reported_and_destroys() {
    QSignalSpy closed(window_.data(), &MapWindow::closed_through_frame);
    QSignalSpy decided(window_.data(), &MapWindow::decided);
    QVERIFY(window_->close());
    QCOMPARE(closed.count(), 1);
    QCOMPARE(decided.count(), 0);
    QTRY_VERIFY(window_.isNull());
}

void MapWindowTest::map_bitmap_is_drawn_to_the_scale_data() {
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("lat");
    QTest::addColumn<bool>("sea");
    QTest::newRow("Tokyo is land") << 139.69 << 35.69 << false;
    QTest::newRow("Sapporo is land") << 141.35 << 43.06 << false;
    QTest::newRow("Naha is land") << 127.68 << 26.21 << false;
    QTest::newRow("Pacific at 145° E 30° N is sea") << 145.0 << 30.0 << true;
}

void MapWindowTest::map_bitmap_is_drawn_to_the_scale() {
    QFETCH(double, lon);
    QFETCH(double, lat);
    QFETCH(bool, sea);
    const QPoint pixel = map_pixel(lon, lat);
    QCOMPARE(same_rgb(clean_map_.pixel(pixel), kSea), sea);
}

void MapWindowTest::screenshot() {
    QTest::mousePress(picture(), Qt::LeftButton, Qt::NoModifier, map_pixel(139.69, 35.69));
    QTest::qWait(60);
    QVERIFY(QFile::exists(vantora::ui::testing::save_screenshot(window_, "map_window")));
}

QTEST_MAIN(MapWindowTest)
#include "test_map_window.moc"
