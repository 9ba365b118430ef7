// The controls every window is built from, placed in twips and named after the control they are
// (objectName = the control's name), so that the windows and their tests find them by name.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include <functional>
#include <string_view>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vantora::ui {

/// UTF-8 text of the chart as a QString.
QString qtext(std::string_view text);

/// A label with a caption, font and alignment at a fixed place.
QLabel* make_label(QWidget* parent, const QString& name, const QString& caption, const QRect& where,
                   const QFont& font, Qt::Alignment alignment = Qt::AlignCenter);

/// A fixed caption placed at its left and top (twips), sized to its text.
QLabel* make_caption(QWidget* parent, const char* name, const QString& text, int left, int top,
                     const QFont& font);

/// A display field: a one-line, borderless, read-only text box on the button-face background,
/// so that a box of 13 pixels holds its line. Its text is shown from the first character.
QLineEdit* make_display_field(QWidget* parent, const char* name, const QRect& where,
                              Qt::Alignment alignment = Qt::AlignLeft);

/// A drop-down list the user chooses from but cannot type into.
QComboBox* make_selection_list(QWidget* parent, const char* name, const QString& tip, const QRect& where);

/// A command button with its caption and tool tip (none when tip is empty). Return and the
/// keypad's Enter press it while it has the focus, as Space does.
QPushButton* make_command(QWidget* parent, const char* name, const QString& caption, const QString& tip,
                          const QRect& where);

/// A command button showing a picture of the data folder instead of a caption.
QPushButton* make_picture_button(QWidget* parent, const char* name, const QString& picture,
                                 const QString& tip, const QRect& where);

/// Shows text in a label or a text box (a text box from its first character); other widgets
/// are left alone.
void set_shown_text(QWidget* control, const QString& text);

/// Sets or clears the bold flag of a control's font.
void set_bold(QWidget* control, bool bold);

/// Escape anywhere in window runs close, as the window's own Close button does.
void close_on_escape(QWidget* window, const std::function<void()>& close);

} // namespace vantora::ui
