#include "ui/map_window.hpp"

#include "chart/time_difference.hpp"
#include "ui/form_kit.hpp"
#include "ui/place_search.hpp"
#include "ui/ui_common.hpp"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QCompleter>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QtMath>

#include <functional>

namespace vantora::ui {

namespace {

using map::kMapSide;
/// Pixel column of the 135° E meridian, drawn as a white line.
constexpr int kMeridianColumn = 265;
/// How long a crosshair stays visible while browsing, milliseconds.
constexpr int kFlashMs = 15;

const QColor kWindowGrey(192, 192, 192);
const QColor kValueGrey(224, 224, 224);
const QColor kSea(236, 236, 236);
const QColor kCrosshair(0, 203, 28);
const QColor kMeridianLabel(128, 128, 128);

} // namespace

/// The map picture box: the bitmap with the crosshair marks drawn on it in exclusive-or mode,
/// so that drawing the same crosshair twice restores the map bit for bit.
class MapPicture : public QWidget {
public:
    explicit MapPicture(QWidget* parent)
        : QWidget(parent) {
        QImage map(data_path(QStringLiteral("japan_map.bmp")));
        if (map.isNull()) {
            // Without the bitmap the window still works over a plain sea.
            map = QImage(kMapSide, kMapSide, QImage::Format_RGB32);
            map.fill(kSea);
        }
        // Exclusive-or drawing needs a true-colour surface; the file has a colour table.
        clean_ = map.convertToFormat(QImage::Format_RGB32);
        marked_ = clean_;
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    std::function<void(QPointF)> on_move;
    std::function<void(Qt::MouseButton, QPointF)> on_press;

    const QImage& marked() const { return marked_; }

    /// Draws (or, drawn a second time, erases) the crosshair through pixel (x, y).
    void xor_crosshair(QPoint at) {
        {
            QPainter painter(&marked_);
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            painter.setPen(QPen(kCrosshair, 0));
            painter.drawLine(at.x(), 0, at.x(), kMapSide);
            painter.drawLine(0, at.y(), kMapSide, at.y());
        }
        repaint();
    }

    /// Shows the crosshair briefly; a later erase_marks() cancels the pending undo.
    void flash_crosshair(QPoint at) {
        xor_crosshair(at);
        const unsigned generation = generation_;
        QTimer::singleShot(kFlashMs, this, [this, at, generation] {
            if (generation == generation_) xor_crosshair(at);
        });
    }

    /// Removes every mark: the map reappears as loaded.
    void erase_marks() {
        ++generation_;
        marked_ = clean_;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, marked_);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (on_move) on_move(event->position());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (on_press) on_press(event->button(), event->position());
    }

private:
    QImage clean_;
    QImage marked_;
    unsigned generation_ = 0; ///< bumped by erase_marks() so pending flash undos are dropped
};

namespace {

/// A label in the window's own font.
QLabel* make_plain_label(QWidget* parent, const char* name, const QString& caption, QRect where,
                         Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop) {
    return make_label(parent, QString::fromLatin1(name), caption, where, parent->font(), alignment);
}

QLabel* make_value_label(QWidget* parent, const char* name, QRect where) {
    QLabel* label = make_plain_label(parent, name, QString(), where, Qt::AlignRight | Qt::AlignVCenter);
    label->setFont(pgothic_font(9.75));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, kValueGrey);
    label->setPalette(palette);
    return label;
}

QPoint pixel_of(QPointF position) {
    return {qFloor(position.x()), qFloor(position.y())};
}

} // namespace

MapWindow::MapWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmjpmap"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("日本地図"));
    setFont(pgothic_font(9));
    setFixedSize(twips(7620), twips(8370));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kWindowGrey);
    setPalette(palette);

    create_labels();
    create_buttons();
    create_picture();
    create_search();
    create_connections();
    Form_Activate();
    centre_on_screen(this);
}

void MapWindow::create_labels() {
    const auto centred = Qt::AlignHCenter | Qt::AlignVCenter;
    make_plain_label(this, "Label8", QStringLiteral("北緯"), twips_rect(120, 150, 555, 255),
                     Qt::AlignLeft | Qt::AlignVCenter);
    lblido = make_value_label(this, "lblido", twips_rect(645, 150, 525, 210));
    make_plain_label(this, "Label3", QStringLiteral("度"), twips_rect(1185, 150, 315, 300), centred);
    lblihun = make_value_label(this, "lblihun", twips_rect(1500, 150, 435, 210));
    make_plain_label(this, "Label5", QStringLiteral("分"), twips_rect(1935, 150, 315, 270), centred);
    lblibyou = make_value_label(this, "lblibyou", twips_rect(2235, 150, 435, 210));
    make_plain_label(this, "Label7", QStringLiteral("秒"), twips_rect(2715, 150, 315, 270), centred);

    make_plain_label(this, "Label1", QStringLiteral("東経"), twips_rect(120, 495, 555, 255),
                     Qt::AlignLeft | Qt::AlignVCenter);
    lblkdo = make_value_label(this, "lblkdo", twips_rect(645, 465, 525, 210));
    make_plain_label(this, "Label10", QStringLiteral("度"), twips_rect(1200, 480, 285, 285), centred);
    lblkhun = make_value_label(this, "lblkhun", twips_rect(1515, 465, 435, 210));
    make_plain_label(this, "Label12", QStringLiteral("分"), twips_rect(1950, 480, 255, 285), centred);
    lblkbyou = make_value_label(this, "lblkbyou", twips_rect(2235, 465, 435, 210));
    make_plain_label(this, "Label14", QStringLiteral("秒"), twips_rect(2715, 465, 315, 285), centred);
}

void MapWindow::create_buttons() {
    btndecide = make_command(this, "btndecide", QStringLiteral("決定"), {}, twips_rect(5565, 120, 600, 600));
    btncancel = make_command(this, "btncancel", QStringLiteral("取消"), {}, twips_rect(6255, 120, 600, 600));
    btnClose = make_command(this, "btnClose", QStringLiteral("Close"), {}, twips_rect(6945, 120, 600, 600));
}

void MapWindow::create_picture() {
    Picture1 = new MapPicture(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twips_rect(60, 810, 7500, 7500));

    // The meridian and its caption lie on the picture but leave the mouse to it.
    auto* line = new QWidget(Picture1);
    line->setObjectName(QStringLiteral("Line1"));
    line->setGeometry(kMeridianColumn, 0, 1, kMapSide);
    line->setAutoFillBackground(true);
    QPalette line_palette = line->palette();
    line_palette.setColor(QPalette::Window, Qt::white);
    line->setPalette(line_palette);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);

    QLabel* caption = make_plain_label(Picture1, "Label2", QStringLiteral("東経135度/日本標準時"),
                                       QRect(270, 478, 123, 15));
    QPalette caption_palette = caption->palette();
    caption_palette.setColor(QPalette::WindowText, kMeridianLabel);
    caption->setPalette(caption_palette);
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void MapWindow::create_search() {
    // In the strip between the value labels and "決定": caption and note above, the field below.
    lblPlace = make_plain_label(this, "lblPlace", QStringLiteral("地名"), twips_rect(3120, 150, 420, 255),
                                Qt::AlignLeft | Qt::AlignVCenter);
    lblPlaceNote = make_plain_label(this, "lblPlaceNote", QString(), twips_rect(3540, 150, 1905, 255),
                                    Qt::AlignLeft | Qt::AlignVCenter);
    txtPlace = new QLineEdit(this);
    txtPlace->setObjectName(QStringLiteral("txtPlace"));
    txtPlace->setGeometry(twips_rect(3120, 435, 2325, 300));
    txtPlace->setToolTip(QStringLiteral("地名を入力して候補から選ぶと、その地点の経度・緯度が決まります"));
    places_ = new PlaceCompletionModel(this);
    auto* completer = new QCompleter(places_, txtPlace);
    // The model holds only the matches of the typed text; the completer shows them all.
    completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer->setMaxVisibleItems(12);
    txtPlace->setCompleter(completer);
    // The list is wider than the field so that whole names show.
    completer->popup()->setMinimumWidth(twips(4200));
}

void MapWindow::create_connections() {
    Picture1->on_move = [this](QPointF position) { Picture1_MouseMove(position); };
    Picture1->on_press = [this](Qt::MouseButton button, QPointF position) {
        Picture1_MouseDown(button, position);
    };
    connect(btndecide, &QPushButton::clicked, this, &MapWindow::btndecide_Click);
    connect(btncancel, &QPushButton::clicked, this, &MapWindow::btncancel_Click);
    connect(btnClose, &QPushButton::clicked, this, &MapWindow::btnClose_Click);
    close_on_escape(this, [this] { btnClose_Click(); });
    connect(txtPlace, &QLineEdit::textEdited, this, &MapWindow::txtPlace_Change);
    connect(txtPlace, &QLineEdit::returnPressed, this, &MapWindow::txtPlace_Return);
    connect(
        txtPlace->completer(), qOverload<const QModelIndex&>(&QCompleter::activated), this,
        [this](const QModelIndex& row) { fix_place(row.data(PlaceCompletionModel::kPlaceIdRole).toUInt()); });
}

void MapWindow::Form_Activate() {
    for (QLabel* label : {lblido, lblihun, lblibyou, lblkdo, lblkhun, lblkbyou}) label->clear();
    // A point fixed before the window lost the focus is released, so its mark goes with it.
    Picture1->erase_marks();
    map_lock_ = 0;
    btndecide->setEnabled(false);
    btncancel->setEnabled(false);
    scale_ = map::MapScale{};
    setWindowTitle(QStringLiteral("日本地図"));
}

QImage MapWindow::shown_map() const {
    return Picture1->marked();
}

void MapWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
    QWidget::changeEvent(event);
}

void MapWindow::showEvent(QShowEvent* event) {
    // Showing the window normally activates it; resetting here as well keeps a reopened map
    // clean where the window system does not hand it the focus (or it already had it when hidden).
    if (!event->spontaneous()) {
        Form_Activate();
        txtPlace->setFocus(Qt::OtherFocusReason);
    }
    QWidget::showEvent(event);
}

void MapWindow::closeEvent(QCloseEvent* event) {
    emit closed_through_frame();
    QWidget::closeEvent(event);
}

void MapWindow::show_position(QPointF position) {
    const auto x = static_cast<float>(position.x());
    const auto y = static_cast<float>(position.y());
    show_values(vantora::split_dms(map::longitude_at(x, scale_)),
                vantora::split_dms(map::latitude_at(y, scale_)));
}

void MapWindow::show_values(const Dms& lon, const Dms& lat) {
    lblkdo->setText(QString::number(lon.degrees));
    lblkhun->setText(QString::number(lon.minutes));
    lblkbyou->setText(QString::number(lon.seconds));
    lblido->setText(QString::number(lat.degrees));
    lblihun->setText(QString::number(lat.minutes));
    lblibyou->setText(QString::number(lat.seconds));
}

void MapWindow::Picture1_MouseMove(QPointF position) {
    if (map_lock_ == 1) return;
    show_position(position);
    Picture1->flash_crosshair(pixel_of(position));
}

void MapWindow::Picture1_MouseDown(Qt::MouseButton button, QPointF position) {
    if (button == Qt::RightButton) {
        if (map_lock_ == 1) release_point();
        return;
    }
    if (button != Qt::LeftButton && button != Qt::MiddleButton) return;
    if (map_lock_ == 1) return;
    show_position(position);
    Picture1->xor_crosshair(pixel_of(position));
    fix_point();
}

void MapWindow::fix_point() {
    map_lock_ = 1;
    btndecide->setEnabled(true);
    btncancel->setEnabled(true);
}

void MapWindow::fix_place(PlaceIndex::Id id) {
    const PlaceIndex* places = places_->places();
    if (!places || id >= places->size()) return;
    // Choosing another place moves the fixed point, where a click would first need a release.
    if (map_lock_ == 1) release_point();
    const GeoPoint point = places->point(id);
    // The labels show the place's own position, so "決定" converts its longitude, not a pixel's.
    show_values(vantora::split_dms(point.lon), vantora::split_dms(point.lat));
    const map::Pixel pixel = map::pixel_at(point.lon, point.lat, scale_);
    if (map::on_picture(pixel)) Picture1->xor_crosshair({pixel.x, pixel.y});
    fix_point();
    lblPlaceNote->clear();
    btndecide->setFocus(Qt::OtherFocusReason);
}

void MapWindow::txtPlace_Change(const QString& text) {
    lblPlaceNote->clear();
    lblPlaceNote->setToolTip({});
    places_->set_text(text);
    if (const QString error = places_->data_error(); !error.isEmpty()) lblPlaceNote->setText(error);
}

void MapWindow::txtPlace_Return() {
    // After a choice from the list the field holds that place's full name, so this fixes the
    // same place again.
    QString why;
    if (const auto id = places_->match(txtPlace->text(), why)) {
        fix_place(*id);
    } else {
        lblPlaceNote->setText(why);
        lblPlaceNote->setToolTip(why); // the note is narrow; a count of thousands may not fit
    }
}

void MapWindow::release_point() {
    Picture1->erase_marks();
    map_lock_ = 0;
    btndecide->setEnabled(false);
    btncancel->setEnabled(false);
}

void MapWindow::btndecide_Click() {
    const double lon = vantora::longitude_from_texts(
        lblkdo->text().toStdString(), lblkhun->text().toStdString(), lblkbyou->text().toStdString());
    const vantora::TimeDifferenceTexts texts = vantora::time_difference_texts(lon);
    emit decided(QString::fromStdString(texts.minutes), QString::fromStdString(texts.seconds));
    btncancel->setEnabled(true);
    hide();
}

void MapWindow::btncancel_Click() {
    release_point();
}

void MapWindow::btnClose_Click() {
    hide();
}

} // namespace vantora::ui
