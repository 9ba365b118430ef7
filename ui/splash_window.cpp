#include "ui/splash_window.hpp"

#include "ui/main_window.hpp"
#include "ui/ui_common.hpp"

#include <QCloseEvent>
#include <QLabel>
#include <QPalette>
#include <QTimer>

#include <cstdio>
#include <utility>
#include <variant>

namespace vantora::ui {

SplashWindow::SplashWindow(std::function<void()> on_timer, int interval_ms, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , on_timer_(std::move(on_timer)) {
    setObjectName(QStringLiteral("startzarvel"));
    create_ui();
    Timer1->setInterval(interval_ms);
    Form_Load();
}

void SplashWindow::create_ui() {
    setFixedSize(twips(4890), twips(3390));

    // The 325 × 227 picture covers the whole client area.
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setGeometry(rect());
    picture->setPixmap(data_picture(QStringLiteral("splash.png")));
    picture->setScaledContents(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twips_rect(1080, 2010, 1800, 300));
    Label1->setFont(pgothic_font(12));
    Label1->setAttribute(Qt::WA_TranslucentBackground);
    Label1->setAutoFillBackground(false);
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(palette);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &SplashWindow::Timer1_Timer);
}

void SplashWindow::Form_Load() {
    centre_on_screen(this);
    Label1->setText(QStringLiteral("Ver. ") + version_text());
    Timer1->start();
}

void SplashWindow::Timer1_Timer() {
    if (on_timer_) on_timer_();
}

void SplashWindow::closeEvent(QCloseEvent* event) {
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    Timer1->stop();
    event->accept();
}

MainWindow* open_main_window(QWidget* startup, std::function<TermResult<TermTables>()> load_tables) {
    if (!load_tables) load_tables = [] { return init_tables(); };
    auto* main_window = new MainWindow;
    main_window->setAttribute(Qt::WA_DeleteOnClose);
    main_window->show();
    const bool loaded = main_window->Form_Load(startup, [&load_tables] {
        auto result = load_tables();
        if (const auto* error = std::get_if<TermFileError>(&result)) {
            std::fprintf(stderr, "vantora: %s\n", error->message.c_str());
            std::fflush(stderr);
        }
        return result;
    });
    if (loaded) return main_window;
    if (startup) startup->close();
    delete main_window;
    return nullptr;
}

} // namespace vantora::ui
