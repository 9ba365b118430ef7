#include "ui/menu_keys.hpp"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

namespace vantora::ui {
namespace {

/// Triggers the item of an open menu whose access letter is typed.
class MenuLetters : public QObject {
public:
    explicit MenuLetters(QMenu* menu)
        : QObject(menu)
        , menu_(menu) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != menu_ || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) return false;
        if (key->key() < Qt::Key_A || key->key() > Qt::Key_Z) return false;
        const QChar typed(static_cast<char16_t>(key->key()));
        for (QAction* item : menu_->actions()) {
            if (item->isEnabled() && item->isVisible() && access_letter(item->text()) == typed) {
                menu_->hide();
                item->trigger();
                return true;
            }
        }
        return false;
    }

private:
    QMenu* menu_;
};

} // namespace

QChar access_letter(const QString& caption) {
    QString text = caption.trimmed();
    // An item that opens a window shows its ellipsis after the letter: "名簿（Ｂ）…".
    if (text.endsWith(u'…')) text.chop(1);
    if (text.size() < 3) return {};
    const QChar close = text.back();
    const QChar open = text.at(text.size() - 3);
    if ((close != u'）' && close != u')') || (open != u'（' && open != u'(')) return {};
    QChar letter = text.at(text.size() - 2);
    if (letter >= u'Ａ' && letter <= u'Ｚ') letter = QChar(letter.unicode() - u'Ａ' + u'A');
    if (letter >= u'ａ' && letter <= u'ｚ') letter = QChar(letter.unicode() - u'ａ' + u'A');
    letter = letter.toUpper();
    return letter >= u'A' && letter <= u'Z' ? letter : QChar();
}

void add_menu_keys(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    const QList<QAction*> menus = bar->actions();
    for (QAction* entry : menus) {
        QMenu* menu = entry->menu();
        if (!menu) continue;
        menu->installEventFilter(new MenuLetters(menu));
        const QChar letter = access_letter(entry->text());
        if (letter.isNull()) continue;
        auto* open = new QShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(letter.unicode())), window);
        QObject::connect(open, &QShortcut::activated, bar, [bar, entry] { bar->setActiveAction(entry); });
    }
    if (menus.isEmpty()) return;
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), window);
    QObject::connect(f10, &QShortcut::activated, bar,
                     [bar, first = menus.front()] { bar->setActiveAction(first); });
}

} // namespace vantora::ui
