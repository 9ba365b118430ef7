// Scaffold: replaced by the full window.
#include "ui/export_window.hpp"

#include <QPlainTextEdit>
#include <QPushButton>

namespace vantora::ui {
frmexport::frmexport(QWidget* parent) : QWidget(parent) {
    setObjectName("frmexport");
    txtzarvel01 = new QPlainTextEdit(this);
    txtzarvel01->setObjectName("txtzarvel01");
    btnclose01 = new QPushButton("CLOSE", this);
    btnclose01->setObjectName("btnclose01");
    connect(btnclose01, &QPushButton::clicked, this, &frmexport::btnclose01_Click);
}
void frmexport::set_export_text(const QString& text) { txtzarvel01->setPlainText(text); }
void frmexport::btnclose01_Click() { hide(); }
} // namespace vantora::ui
