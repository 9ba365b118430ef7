// frmexport: the chart as plain text, in an editable window the user copies from.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace vantora::ui {

class frmexport : public QWidget {
    Q_OBJECT
public:
    explicit frmexport(QWidget* parent = nullptr);

    /// Replaces the whole content of txtzarvel01 with text (never appends).
    void set_export_text(const QString& text);

private:
    void btnclose01_Click();

    QPlainTextEdit* txtzarvel01 = nullptr;
    QPushButton* btnclose01 = nullptr;
};

} // namespace vantora::ui
