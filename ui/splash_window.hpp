// SplashWindow: the borderless start-up window shown for five seconds before the main window.
#pragma once

#include "core/term_file.hpp"

#include <QString>
#include <QWidget>

#include <functional>

class QCloseEvent;
class QLabel;
class QTimer;

namespace vantora::ui {

class MainWindow;

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    /// How long the start-up window stays before it opens the main window, in milliseconds.
    static constexpr int kStartupIntervalMs = 5000;

    /// Builds and loads the window: it is centred and Timer1 starts counting at once.
    /// on_timer runs on the single tick of Timer1; it opens the main window, whose loading
    /// closes this window. interval_ms exists for tests and the program's own test mode only.
    explicit SplashWindow(std::function<void()> on_timer, int interval_ms = kStartupIntervalMs,
                          QWidget* parent = nullptr);

    QLabel* label1() const { return Label1; }
    QTimer* timer1() const { return Timer1; }

protected:
    /// Requests from the window system (the user) are refused; the main window's loading
    /// closes the window from the program, which stops the timer.
    void closeEvent(QCloseEvent* event) override;

private:
    void create_ui();
    void Form_Load();
    void Timer1_Timer();

    std::function<void()> on_timer_;
    QLabel* Label1 = nullptr;
    QTimer* Timer1 = nullptr;
};

/// Timer1's work in the program: creates the main window (deleted when it is closed), shows it
/// and runs its Form_Load, which closes startup. load_tables replaces init_tables() in tests.
/// A loader error is also written to stderr. When the term files cannot be loaded the main
/// window is deleted again, startup is closed and nullptr is returned.
MainWindow* open_main_window(QWidget* startup, std::function<TermResult<TermTables>()> load_tables = {});

} // namespace vantora::ui
