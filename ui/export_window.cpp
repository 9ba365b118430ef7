#include "ui/export_window.hpp"

#include "ui/form_kit.hpp"
#include "ui/ui_common.hpp"

#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocumentFragment>

namespace vantora::ui {
namespace {

/// The export text box: what it copies, cuts or drags carries CR LF line ends, as the export
/// text itself does, whatever the platform's own line end.
class ExportTextEdit : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    QMimeData* createMimeDataFromSelection() const override {
        QString text = textCursor().selection().toPlainText();
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        auto* data = new QMimeData;
        data->setText(text);
        return data;
    }
};

} // namespace

ExportWindow::ExportWindow(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmexport"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("データのテキスト表示"));
    setFont(pgothic_font(9));
    setFixedSize(twips(6150), twips(4290));
    create_controls();
    centre_on_screen(this);
}

void ExportWindow::create_controls() {
    txtzarvel01 = new ExportTextEdit(this);
    txtzarvel01->setObjectName(QStringLiteral("txtzarvel01"));
    txtzarvel01->setGeometry(twips_rect(75, 90, 5940, 3555));
    txtzarvel01->setFont(gothic_font(9));
    txtzarvel01->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The luck pillars are lined up by counted spaces: wrapping would break the columns.
    txtzarvel01->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtzarvel01->setReadOnly(false);

    btnclose01 =
        make_command(this, "btnclose01", QStringLiteral("CLOSE"), {}, twips_rect(120, 3765, 705, 420));
    connect(btnclose01, &QPushButton::clicked, this, &ExportWindow::btnclose01_Click);
    close_on_escape(this, [this] { btnclose01_Click(); });
}

void ExportWindow::set_export_text(const QString& text) {
    // One paragraph per line; a copy puts CR LF back between them. Folding CR LF here keeps a
    // bare CR from ever reaching a line.
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txtzarvel01->setPlainText(lines);
}

QString ExportWindow::shown_text() const {
    return txtzarvel01->toPlainText();
}

void ExportWindow::btnclose01_Click() {
    hide();
}

} // namespace vantora::ui
