#include "ui/up_down.hpp"

#include "chart/number_text.hpp"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vantora::ui {

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent)
    , buddy_(buddy)
    , minimum_(minimum)
    , maximum_(maximum) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setObjectName("up");
    up_->setArrowType(Qt::UpArrow);
    up_->setAccessibleName(QStringLiteral("増やす"));
    down_ = new QToolButton(this);
    down_->setObjectName("down");
    down_->setArrowType(Qt::DownArrow);
    down_->setAccessibleName(QStringLiteral("減らす"));
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(arrow);
    }
    connect(up_, &QToolButton::clicked, this, &UpDown::step_up);
    connect(down_, &QToolButton::clicked, this, &UpDown::step_down);
    buddy_->installEventFilter(this);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched != buddy_ || event->type() != QEvent::KeyPress || !isEnabled()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    switch (key->key()) {
    case Qt::Key_Up:
        step(+1);
        return true;
    case Qt::Key_Down:
        step(-1);
        return true;
    case Qt::Key_PageUp:
        step(+10);
        return true;
    case Qt::Key_PageDown:
        step(-10);
        return true;
    default:
        return false;
    }
}

void UpDown::step(int delta) {
    const double shown = std::clamp(numeric_value(buddy_->text().toStdString()),
                                    static_cast<double>(minimum_), static_cast<double>(maximum_));
    const int current = static_cast<int>(std::nearbyint(shown));
    const int next = std::clamp(current + delta, minimum_, maximum_);
    const QString text = QString::number(next);
    if (text == buddy_->text()) return;
    buddy_->setText(text);
    emit changed(next);
}

} // namespace vantora::ui
