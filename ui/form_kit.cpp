#include "ui/form_kit.hpp"

#include "ui/ui_common.hpp"

#include <QComboBox>
#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

namespace vantora::ui {
namespace {

/// Presses a focused command button on Return or Enter. One filter serves every button.
class EnterPresses : public QObject {
public:
    static EnterPresses* instance() {
        static auto* filter = new EnterPresses;
        return filter;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->isEnabled()) return false;
        button->click();
        return true;
    }
};

} // namespace

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* make_label(QWidget* parent, const QString& name, const QString& caption, const QRect& where,
                   const QFont& font, Qt::Alignment alignment) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setGeometry(where);
    return label;
}

QLabel* make_caption(QWidget* parent, const char* name, const QString& text, int left, int top,
                     const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->move(twips(left), twips(top));
    label->adjustSize();
    return label;
}

QLineEdit* make_display_field(QWidget* parent, const char* name, const QRect& where,
                              Qt::Alignment alignment) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(where);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setAlignment(alignment | Qt::AlignVCenter);
    field->setTextMargins(0, 0, 0, 0);
    QPalette face = field->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    field->setPalette(face);
    return field;
}

QComboBox* make_selection_list(QWidget* parent, const char* name, const QString& tip, const QRect& where) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setToolTip(tip);
    list->setGeometry(where);
    list->setEditable(false);
    list->setMaxVisibleItems(16);
    return list;
}

QPushButton* make_command(QWidget* parent, const char* name, const QString& caption, const QString& tip,
                          const QRect& where) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    if (!tip.isEmpty()) button->setToolTip(tip);
    button->setGeometry(where);
    button->installEventFilter(EnterPresses::instance());
    return button;
}

QPushButton* make_picture_button(QWidget* parent, const char* name, const QString& picture,
                                 const QString& tip, const QRect& where) {
    QPushButton* button = make_command(parent, name, QString(), tip, where);
    button->setIcon(QIcon(data_picture(picture)));
    button->setIconSize(QSize(32, 32));
    button->setAccessibleName(tip); // a picture says nothing to a screen reader
    return button;
}

void set_shown_text(QWidget* control, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->setText(text);
        field->setCursorPosition(0);
    }
}

void close_on_escape(QWidget* window, const std::function<void()>& close) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(escape, &QShortcut::activated, window, close);
}

void set_bold(QWidget* control, bool bold) {
    QFont font = control->font();
    font.setBold(bold);
    control->setFont(font);
}

} // namespace vantora::ui
