// Shared pieces of the windows: layout units, the Japanese Gothic faces, data pictures.
#pragma once

#include <QFont>
#include <QMargins>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

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

/// Whether both design faces can show the windows' characters (stems, branches, kana and the
/// captions' kanji): through the face itself, one of its substitutes, or else any installed font
/// that has them all, which is then added as a substitute of the face. Call after
/// install_font_substitutes().
bool gothic_faces_available();

/// The pictures the windows show, read from the data folder like the term files.
inline const QStringList kProgramPictures{"splash.png",      "vantora.png", "btn_reverse.png",
                                          "btn_restore.png", "wave.png",    "japan_map.bmp"};

/// The names of kProgramPictures that are missing or unreadable in the data folder.
QStringList missing_pictures();

/// At start-up: when gothic_faces_available() is false, or missing_pictures() is not empty, says
/// so in one message box each (Japanese, with the package or the files and folder to check) and
/// on stderr as "vantora: …", then returns so that the program goes on.
void report_startup_problems();

/// A picture from the data folder (null pixmap when it is missing).
QPixmap data_picture(const QString& file_name);

/// Path of a data file in the data folder: beside the program when the term files are there,
/// otherwise the installed share folder (see data_folder()).
QString data_path(const QString& file_name);

/// Why a file could not be read or written, in Japanese, from the system's error number (errno
/// right after the failed call): "読み取り専用のファイルシステムです" for EROFS and the like; the
/// system's own text for a number without a Japanese one.
QString file_error_reason(int error_number);

/// The program version as shown to the user: major, minor and revision as plain decimal
/// integers joined by "." ("2.5.34").
QString version_text();

/// Top-left corner that centres a window frame of frame_size in area: left = (area width −
/// frame width) / 2, top likewise, from the area's own corner; a frame larger than the area
/// starts at the area's left or top edge instead, so that its title bar stays reachable.
QPoint centred_frame_position(const QRect& area, const QSize& frame_size);

/// Places a top-level window, once, so that its whole frame (title bar and borders included)
/// is in the middle of the available area of the screen it is on (or the primary screen). Call
/// it when the window is built or first shown. Until the window system has framed it, the
/// frame of another framed window of the program stands in for its own; when the real frame is
/// known by the time the window is first exposed, it is centred by that frame. A window the
/// user has moved is never moved back.
void centre_on_screen(QWidget* window);

/// Makes window a dialog of owner's window for the window system: it stays above the owner and
/// is minimised with it. The link is the window system's only: window keeps no Qt parent, so it
/// stays usable while the owner is disabled and lives as long as it did before.
void own_by(QWidget* window, QWidget* owner);

} // namespace vantora::ui
