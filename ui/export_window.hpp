// ExportWindow: the chart as plain text, in an editable window the user copies from.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace vantora::ui {

class ExportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ExportWindow(QWidget* parent = nullptr);

    /// Replaces the whole content of txtzarvel01 with text (never appends). CR LF line ends are
    /// shown as line breaks; selecting and copying gives the lines with CR LF between them, so that
    /// copying the whole box gives the export text exactly.
    void set_export_text(const QString& text);

    /// The text as the box holds it now, lines separated by "\n" (including the user's edits).
    QString shown_text() const;

private:
    void create_controls();

    void btnclose01_Click();

    QPlainTextEdit* txtzarvel01 = nullptr;
    QPushButton* btnclose01 = nullptr;
};

} // namespace vantora::ui
