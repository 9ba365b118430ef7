// An up-down spin control bound to a text box, as the time-difference boxes use it.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace vantora::ui {

/// Each arrow press steps the number shown in the bound box (its numeric value, rounded and
/// clamped into [minimum, maximum]) by one, writes the result back as a plain integer and emits
/// changed(). The arrows stop at the ends of the range; a press that leaves the number unchanged
/// writes nothing and emits nothing. While the control is enabled, Up and Down in the bound box
/// act as the arrows do, and Page Up and Page Down step by ten the same way.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr);

    void step_up() { step(+1); }
    void step_down() { step(-1); }

signals:
    /// An arrow changed the number in the bound box.
    void changed(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int delta);

    QLineEdit* buddy_;
    int minimum_, maximum_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

} // namespace vantora::ui
