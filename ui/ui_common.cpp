#include "ui/ui_common.hpp"

#include "core/program_folder.hpp"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#ifndef VANTORA_VERSION_MAJOR
#error "VANTORA_VERSION_MAJOR, _MINOR and _PATCH come from the CMake project version"
#endif

namespace vantora::ui {

QString version_text() {
    return QStringLiteral("%1.%2.%3")
        .arg(VANTORA_VERSION_MAJOR)
        .arg(VANTORA_VERSION_MINOR)
        .arg(VANTORA_VERSION_PATCH);
}

void install_font_substitutes() {
    // IPA fonts (fonts-ipafont-gothic) first; other common Japanese Gothic faces after them.
    QFont::insertSubstitutions(kGothic, {"IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP", "VL Gothic"});
    QFont::insertSubstitutions(kPGothic, {"IPAPGothic", "IPAPゴシック", "Noto Sans CJK JP", "VL PGothic"});
}

QFont gothic_font(double points, bool bold) {
    QFont font(kGothic);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont pgothic_font(double points, bool bold) {
    QFont font(kPGothic);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString data_path(const QString& file_name) {
    return QString::fromStdString((vantora::data_folder() / file_name.toStdString()).string());
}

QPixmap data_picture(const QString& file_name) {
    return QPixmap(data_path(file_name));
}

QPoint centred_frame_position(const QRect& area, const QSize& frame_size) {
    return {area.x() + (area.width() - frame_size.width()) / 2,
            area.y() + (area.height() - frame_size.height()) / 2};
}

namespace {

/// Margins of the frame the window system drew around window; zero while it has none.
QMargins frame_margins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

/// The frame margins of another visible, framed top-level window of the program, if any.
QMargins sibling_frame_margins(const QWidget* window) {
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window || !other->isVisible()) continue;
        const QMargins margins = frame_margins(other);
        if (!margins.isNull()) return margins;
    }
    return {};
}

void place_centred(QWidget* window, const QMargins& frame) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QSize client = window->size();
    const QSize framed(client.width() + frame.left() + frame.right(),
                       client.height() + frame.top() + frame.bottom());
    window->move(centred_frame_position(screen->geometry(), framed));
}

/// Centres its window once more by the window's real frame, when the window system reports it
/// after showing; gives up on the first move the window makes with a frame (or on close).
class CentreWhenFramed : public QObject {
public:
    explicit CentreWhenFramed(QWidget* window)
        : QObject(window)
        , window_(window) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_) return false;
        if (event->type() == QEvent::Hide) {
            deleteLater();
        } else if (event->type() == QEvent::Move || event->type() == QEvent::Show) {
            const QMargins frame = frame_margins(window_);
            if (!frame.isNull()) {
                window_->removeEventFilter(this);
                place_centred(window_, frame);
                deleteLater();
            }
        }
        return false;
    }

private:
    QWidget* window_;
};

} // namespace

void centre_on_screen(QWidget* window) {
    const QMargins own = frame_margins(window);
    place_centred(window, own.isNull() ? sibling_frame_margins(window) : own);
    if (own.isNull()) new CentreWhenFramed(window);
}

} // namespace vantora::ui
