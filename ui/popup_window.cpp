// Scaffold: replaced by the full window.
#include "ui/popup_window.hpp"

namespace vantora::ui {
frmpop01::frmpop01(QWidget* parent) : QWidget(parent) { setObjectName("frmpop01"); }
void frmpop01::copy_chart(const PopupContent&) {}
} // namespace vantora::ui
