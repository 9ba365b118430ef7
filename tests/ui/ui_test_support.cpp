#include "ui_test_support.hpp"

#include "chart/shown_chart.hpp"
#include "ui/ui_common.hpp"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace vantora::ui::testing {
namespace {

QTimer* watchdog = nullptr;
int grace = 2000;
QWidget* seen_modal = nullptr;
qint64 seen_since = 0;

void check_modal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
        seen_modal = nullptr;
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (modal != seen_modal) {
        seen_modal = modal;
        seen_since = now;
        return;
    }
    if (now - seen_since >= grace) {
        qWarning("Unexpected modal dialog '%s' closed by the watchdog", qPrintable(modal->windowTitle()));
        modal->close();
        QTest::qFail("an unexpected modal dialog appeared", __FILE__, __LINE__);
        seen_modal = nullptr;
    }
}

} // namespace

void prepare_ui_test() {
    install_font_substitutes();
    set_modal_watchdog(true);
}

void set_modal_watchdog(bool enabled, int grace_ms) {
    grace = grace_ms;
    if (!watchdog) {
        watchdog = new QTimer(qApp);
        watchdog->setInterval(100);
        QObject::connect(watchdog, &QTimer::timeout, check_modal);
    }
    if (enabled) {
        watchdog->start();
    } else {
        watchdog->stop();
    }
}

ChartTexts texts_on_screen(const QWidget* window) {
    const auto read = [window](const QString& name) {
        const QWidget* control = window->findChild<const QWidget*>(name);
        if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text().toStdString();
        if (const auto* field = qobject_cast<const QLineEdit*>(control)) return field->text().toStdString();
        return std::string();
    };
    ChartTexts texts;
    for_each_control(
        texts, [&](std::string_view name, std::string& text) { text = read(QString::fromUtf8(name)); },
        [&](std::string_view row, std::span<std::string> row_texts) {
            for (std::size_t i = 0; i < row_texts.size(); ++i)
                row_texts[i] = read(QString::fromUtf8(row) + QStringLiteral("_%1").arg(i));
        });
    return texts;
}

bool wait_until_active(const QWidget* window) {
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

bool luck_bold_on_screen(const QWidget* window, int i) {
    const auto* label = window->findChild<const QWidget*>(QStringLiteral("dun_kan_%1").arg(i));
    return label && label->font().bold();
}

QString save_screenshot(QWidget* widget, const QString& name) {
    QDir().mkpath(VANTORA_SCREENSHOT_DIR);
    const QString path = QStringLiteral(VANTORA_SCREENSHOT_DIR) + "/" + name + ".png";
    widget->grab().save(path);
    return path;
}

} // namespace vantora::ui::testing
