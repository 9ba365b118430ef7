// frmjpmap: a map of Japan that turns a chosen point into the time difference from 135° E.
#pragma once

#include <QWidget>

namespace vantora::ui {

class frmjpmap : public QWidget {
    Q_OBJECT
public:
    explicit frmjpmap(QWidget* parent = nullptr);

signals:
    /// "決定": the texts for the main window's minutes and seconds boxes ("-0" west of 135° E
    /// within a minute of it).
    void decided(const QString& minutes_text, const QString& seconds_text);
    /// The window was closed through the window frame (it is being destroyed).
    void closed_through_frame();
};

} // namespace vantora::ui
