// Keyboard access to a window's menus whose captions show their letter in full-width or
// half-width brackets ("ファイル（Ｆ）", "日本地図表示（M)") without an & in the caption.
#pragma once

#include <QChar>
#include <QString>

class QMainWindow;

namespace vantora::ui {

/// The access letter a caption shows in brackets at its end (or just before a closing "…"), as an
/// upper-case ASCII letter ("ファイル（Ｆ）" → 'F', "日本地図表示（M)" → 'M', "名簿（Ｂ）…" → 'B');
/// a null QChar when it shows none.
QChar access_letter(const QString& caption);

/// Alt+letter opens the top-level menu with that letter, F10 opens the first menu, and inside an
/// open menu the letter of an item triggers it. Call once every menu and item exists.
void add_menu_keys(QMainWindow* window);

} // namespace vantora::ui
