// MapWindow: a map of Japan that turns a chosen point into the time difference from 135° E.
#pragma once

#include "chart/time_difference.hpp"
#include "core/places.hpp"
#include "ui/map_geometry.hpp"

#include <QImage>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vantora::ui {

class MapPicture;
class PlaceCompletionModel;

class MapWindow : public QWidget {
    Q_OBJECT
public:
    explicit MapWindow(QWidget* parent = nullptr);

    /// The reset that runs every time the window becomes active: empty value labels, no fixed
    /// point (any mark erased), both "決定" and "取消" disabled, the scale constants and the
    /// caption. It never moves the window: the map is centred once, when first shown, and then
    /// stays where the user puts it.
    void Form_Activate();

    /// 0 while browsing (the labels follow the pointer), 1 while a point is fixed.
    int map_lock() const { return map_lock_; }

    /// The map as it is shown now, with the crosshair marks drawn on it (500 × 500 pixels).
    QImage shown_map() const;

signals:
    /// "決定": the texts for the main window's minutes and seconds boxes ("-0" west of 135° E
    /// within a minute of it).
    void decided(const QString& minutes_text, const QString& seconds_text);
    /// The window was closed through the window frame (it is being destroyed).
    void closed_through_frame();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void create_labels();
    void create_buttons();
    void create_picture();
    void create_search();
    void create_connections();

    void Picture1_MouseMove(QPointF position);
    void Picture1_MouseDown(Qt::MouseButton button, QPointF position);
    void btndecide_Click();
    void btncancel_Click();
    void btnClose_Click();
    void txtPlace_Change(const QString& text);
    void txtPlace_Return();

    void show_position(QPointF position);
    void show_values(const Dms& lon, const Dms& lat);
    void fix_point();
    /// Fixes the point of a place as a click would, with its own longitude and latitude shown.
    void fix_place(PlaceIndex::Id id);
    void release_point();

    int map_lock_ = 0;
    map::MapScale scale_;

    MapPicture* Picture1 = nullptr;
    QLabel* lblido = nullptr;
    QLabel* lblihun = nullptr;
    QLabel* lblibyou = nullptr;
    QLabel* lblkdo = nullptr;
    QLabel* lblkhun = nullptr;
    QLabel* lblkbyou = nullptr;
    QPushButton* btndecide = nullptr;
    QPushButton* btncancel = nullptr;
    QPushButton* btnClose = nullptr;
    QLabel* lblPlace = nullptr;     ///< caption "地名"
    QLabel* lblPlaceNote = nullptr; ///< why Enter found no place ("見つかりません")
    QLineEdit* txtPlace = nullptr;  ///< the place search field, with completion
    PlaceCompletionModel* places_ = nullptr;
};

} // namespace vantora::ui
