// Scaffold: replaced by the full About message and sound.
#include "ui/about_message.hpp"

#include <QMessageBox>

namespace vantora::ui {
QString about_text() { return QStringLiteral("Vantora（Eldra） Ver.  2.5.34"); }
void show_about_message(QWidget* parent) { QMessageBox::information(parent, "バージョン情報", about_text()); }
} // namespace vantora::ui
