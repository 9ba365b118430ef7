// The vantora program: the start-up window, then the main window after five seconds.
// Options: see app/command_line.hpp (vantora --help).
//
// Two environment variables exist for unattended tests only and are not meant for users:
//   VANTORA_TEST_STARTUP_MS=N   the start-up window opens the main window after N ms (1..60000)
//                               instead of 5000 ms;
//   VANTORA_TEST_AUTO_ANSWER=1  every message box is answered with its default button about
//                               100 ms after it appears, and a line naming it is written to
//                               stderr, so that a run without a user cannot hang on one.
#include "app/command_line.hpp"
#include "ui/main_window.hpp"
#include "ui/splash_window.hpp"
#include "ui/ui_common.hpp"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace {

using vantora::ui::MainWindow;
using vantora::ui::SplashWindow;

int startup_interval_ms() {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue("VANTORA_TEST_STARTUP_MS", &ok);
    return ok && value >= 1 && value <= 60000 ? value : SplashWindow::kStartupIntervalMs;
}

/// Polls for a modal message box every 100 ms; see VANTORA_TEST_AUTO_ANSWER above.
void install_test_auto_answer(QApplication& app) {
    auto* poll = new QTimer(&app);
    poll->setInterval(100);
    QObject::connect(poll, &QTimer::timeout, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        std::fprintf(stderr, "vantora: test mode answered the message box \"%s\"\n",
                     qUtf8Printable(box->windowTitle()));
        std::fflush(stderr);
        if (QPushButton* answer = box->defaultButton()) {
            answer->click();
        } else {
            box->close();
        }
    });
    poll->start();
}

} // namespace

int main(int argc, char** argv) {
    // The application name is also the X11 window class (StartupWMClass of the desktop entry); the
    // desktop file name is the Wayland app id and the AppStream id.
    QCoreApplication::setApplicationName(QStringLiteral("Vantora"));
    QCoreApplication::setApplicationVersion(vantora::ui::version_text());
    const vantora::app::ProgramOptions options;
    vantora::app::ParserTextsJa parser_texts;
    {
        QCoreApplication before_window(argc, argv);
        QCoreApplication::installTranslator(&parser_texts);
        if (const auto status = vantora::app::answer_without_window(options)) return *status;
    }

    QApplication app(argc, argv);
    // Qt's own dialogs and buttons (file dialogs, OK, キャンセル) in Japanese like every window;
    // without Debian's qt6-translations-l10n they stay in English. Installed first, so that the
    // options' own Japanese texts, installed after, are asked first.
    QTranslator qt_texts;
    if (qt_texts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qt_texts);
    QApplication::installTranslator(&parser_texts);
    QCommandLineParser parser;
    if (const auto status = vantora::app::check_options(parser, options, QApplication::arguments())) {
        return *status;
    }
    QApplication::setDesktopFileName(QStringLiteral("jp.example.vantora"));
    QApplication::setWindowIcon(QIcon(vantora::ui::data_path(QStringLiteral("vantora.png"))));
    vantora::ui::install_font_substitutes();
    if (qEnvironmentVariableIntValue("VANTORA_TEST_AUTO_ANSWER") == 1) install_test_auto_answer(app);
    vantora::ui::report_startup_problems();

    // The main window deletes itself when it is closed; the QPointer notices.
    QPointer<MainWindow> main_window;
    bool start_failed = false;
    QWidget* startup = nullptr;
    SplashWindow startup_window(
        [&] {
            main_window = vantora::ui::open_main_window(startup);
            if (main_window && parser.isSet(options.book))
                main_window->set_book_path(QFileInfo(parser.value(options.book)).absoluteFilePath());
            if (main_window) return;
            start_failed = true;
            QCoreApplication::exit(1);
        },
        startup_interval_ms());
    startup = &startup_window;
    startup_window.show();

    const int status = app.exec();
    delete main_window;
    // A failed start may be followed by the quit of the last closed window, which reports 0.
    return start_failed ? 1 : status;
}
