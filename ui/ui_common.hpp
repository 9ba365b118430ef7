// Shared pieces of the windows: layout units, the Japanese Gothic faces, data pictures.
#pragma once

#include <QFont>
#include <QMargins>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

namespace vantora::ui {

/// Window and control geometry is designed in twips (1/1440 inch); 15 twips are one logical
/// pixel at 96 dpi, and Qt scales logical pixels for high-density screens.
constexpr int twips(int value) {
    return value / 15;
}
inline QRect twips_rect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}

/// The fixed-pitch and proportional Japanese Gothic faces the windows are designed for.
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");

/// Maps the two design faces onto the Gothic faces installed here (IPAGothic, IPAPGothic, …).
/// Call once after the QApplication exists, before any window is built.
void install_font_substitutes();

/// A font of one of the design faces, in points.
QFont gothic_font(double points, bool bold = false);
QFont pgothic_font(double points, bool bold = false);

/// A picture from the data folder beside the program (null pixmap when it is missing).
QPixmap data_picture(const QString& file_name);

/// Path of a data file beside the program.
QString data_path(const QString& file_name);

/// The program version as shown to the user: major, minor and revision as plain decimal
/// integers joined by "." ("2.5.34").
QString version_text();

/// Top-left corner that centres a window frame of frame_size in area: left = (area width −
/// frame width) / 2, top likewise, from the area's own corner.
QPoint centred_frame_position(const QRect& area, const QSize& frame_size);

/// Places a top-level window so that its whole frame (title bar and borders included) is in the
/// middle of the screen it is on (or the primary screen). Before the window system has framed
/// the window, the frame of another framed window of the program stands in for its own; when
/// the real frame first becomes known, the window is centred again by it.
void centre_on_screen(QWidget* window);

} // namespace vantora::ui
