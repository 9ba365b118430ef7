#include "ui/ui_common.hpp"

#include "core/program_folder.hpp"

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

void centre_on_screen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

} // namespace vantora::ui
