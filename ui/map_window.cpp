// Scaffold: replaced by the full window.
#include "ui/map_window.hpp"

namespace vantora::ui {
frmjpmap::frmjpmap(QWidget* parent) : QWidget(parent) { setObjectName("frmjpmap"); }
} // namespace vantora::ui
