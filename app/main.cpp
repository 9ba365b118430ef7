// Scaffold: replaced by the start-up sequence.
#include "ui/ui_common.hpp"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vantora::ui::install_font_substitutes();
    return 0;
}
