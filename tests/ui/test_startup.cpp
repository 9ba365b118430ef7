// The start-up window SplashWindow, the opening of the main window, a failed start and the ways
// out of the program.
#include "core/program_folder.hpp"
#include "ui/export_window.hpp"
#include "ui/main_window.hpp"
#include "ui/splash_window.hpp"
#include "ui/ui_common.hpp"
#include "ui/year_dialog.hpp"
#include "ui_test_support.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

using namespace vantora::ui;

namespace {

QString data_file(const QString& name) {
    return QString::fromStdString((vantora::data_folder() / name.toStdString()).string());
}

/// Copies the real program into <folder>/bin (a bin/ of its own, so that no ../share/vantora of
/// another install is found) and returns that folder; empty when the copy failed.
QString copy_program(const QTemporaryDir& folder) {
    const QString bin = folder.path() + "/bin";
    if (!QDir(folder.path()).mkpath("bin") ||
        !QFile::copy(QCoreApplication::applicationDirPath() + "/vantora", bin + "/vantora"))
        return {};
    QFile::setPermissions(bin + "/vantora",
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::WriteOwner);
    return bin;
}

/// The program's test mode: offscreen, message boxes answered, the main window after 50 ms.
QProcessEnvironment test_mode_environment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VANTORA_TEST_AUTO_ANSWER", "1");
    env.insert("VANTORA_TEST_STARTUP_MS", "50");
    return env;
}

/// Top-level windows still on screen (hidden single-instance windows do not count).
QStringList visible_windows() {
    QStringList names;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible()) names << window->objectName() + " (" + window->windowTitle() + ")";
    return names;
}

/// Clicks OK of the next modal message box; records its text.
void answer_next_message_box(QString* text) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll->deleteLater();
        poll->stop();
        if (text) *text = box->text();
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->close();
        }
    });
    poll->start();
}

template <class T> T* child(QWidget* window, const char* name) {
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found) qWarning("no control %s in %s", name, qPrintable(window->objectName()));
    return found;
}

void choose(QComboBox* list, const QString& text) {
    const int index = list->findText(text);
    list->setCurrentIndex(index);
    emit list->activated(index);
}

/// Enters 1980-05-17, hour "?", computes the chart, opens the export window and closes it with
/// its own button (which only hides it). Returns false when a step was not possible.
bool compute_and_export(MainWindow* main) {
    child<QPushButton>(main, "yearInput")->click();
    QWidget* dialog = main->year_dialog().data();
    if (!dialog || !dialog->isVisible()) return false;
    auto* years = child<QListWidget>(dialog, "List1");
    const auto found = years->findItems(QStringLiteral("1980"), Qt::MatchExactly);
    if (found.isEmpty()) return false;
    years->setCurrentItem(found.first());
    child<QPushButton>(dialog, "btnSlok")->click();
    choose(child<QComboBox>(main, "mSelect"), "5");
    choose(child<QComboBox>(main, "dSelect"), "17");
    choose(child<QComboBox>(main, "hSelect"), "?");
    auto* compute = child<QPushButton>(main, "fInput");
    if (!compute->isEnabled()) return false;
    compute->click();
    auto* exp = child<QPushButton>(main, "btnexport");
    if (!exp->isEnabled()) return false;
    exp->click();
    QWidget* export_window = main->export_window().data();
    if (!export_window || !export_window->isVisible()) return false;
    child<QPushButton>(export_window, "btnclose01")->click();
    return main->export_window() && !main->export_window()->isVisible();
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { vantora::ui::testing::prepare_ui_test(); }

    void cleanup() {
        // Deferred deletions of windows closed by the previous test.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(visible_windows().isEmpty(), qPrintable(visible_windows().join(", ")));
    }

    void waits_five_seconds_by_default_and_shows_the_version() {
        SplashWindow startup({});
        QVERIFY(startup.timer1()->isActive());
        QVERIFY(startup.timer1()->isSingleShot());
        QCOMPARE(startup.timer1()->interval(), 5000);
        QCOMPARE(startup.label1()->text(), QStringLiteral("Ver. 2.5.34"));
        QCOMPARE(version_text(), QStringLiteral("2.5.34"));
        QCOMPARE(startup.label1()->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(startup.windowFlags().testFlag(Qt::FramelessWindowHint));
    }

    void is_centred_and_filled_by_the_picture() {
        SplashWindow startup({});
        startup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&startup));
        const QRect screen = startup.screen()->geometry();
        QVERIFY(qAbs(startup.frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(startup.frameGeometry().center().y() - screen.center().y()) <= 1);
        auto* picture = startup.findChild<QLabel*>("picture");
        QVERIFY(picture && !picture->pixmap().isNull());
        QCOMPARE(picture->geometry(), startup.rect());
        // The version sits inside the picture, on its dark part below the title.
        QVERIFY(startup.rect().contains(startup.label1()->geometry()));
        const QImage shot = startup.grab().toImage();
        const QColor behind = shot.pixelColor(startup.label1()->geometry().topLeft() + QPoint(1, 1));
        QVERIFY2(behind.lightness() < 96, qPrintable(behind.name()));
        vantora::ui::testing::save_screenshot(&startup, QStringLiteral("startup_window"));
        startup.close();
    }

    void timer_runs_its_work_once_after_the_interval() {
        // State: window shown with a 150 ms interval. Action: wait. Expected: one tick, not early.
        QElapsedTimer clock;
        int ticks = 0;
        qint64 tick_at = -1;
        SplashWindow* startup_ptr = nullptr;
        clock.start();
        SplashWindow startup(
            [&] {
                ++ticks;
                tick_at = clock.elapsed();
                startup_ptr->close();
            },
            150);
        startup_ptr = &startup;
        startup.show();
        QCOMPARE(ticks, 0);
        QTRY_COMPARE_WITH_TIMEOUT(ticks, 1, 3000);
        QVERIFY2(tick_at >= 140, qPrintable(QString::number(tick_at)));
        QVERIFY(!startup.isVisible());
        QTest::qWait(400);
        QCOMPARE(ticks, 1);
    }

    void user_cannot_close_it_but_the_program_can() {
        int ticks = 0;
        SplashWindow startup([&] { ++ticks; }, 300);
        startup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&startup));

        // Action: a close request from the window system (Alt+F4, the task bar): delivered to
        // the native window as a spontaneous close event, the way the platform does it.
        // Expected: refused.
        QCloseEvent from_user;
        QSpontaneKeyEvent::setSpontaneous(&from_user);
        static_cast<QObject*>(startup.windowHandle())->event(&from_user);
        QVERIFY(!from_user.isAccepted());
        QVERIFY(startup.isVisible());
        QVERIFY(startup.timer1()->isActive());
        QTest::keyClick(&startup, Qt::Key_Escape);
        QVERIFY(startup.isVisible());

        // Action: the program closes it (the main window's loading). Expected: timer stopped.
        QVERIFY(startup.close());
        QVERIFY(!startup.isVisible());
        QVERIFY(!startup.timer1()->isActive());
        QTest::qWait(500);
        QCOMPARE(ticks, 0);
    }

    void timer_opens_the_main_window_and_the_startup_window_is_gone() {
        QPointer<MainWindow> main;
        QWidget* startup_ptr = nullptr;
        SplashWindow startup([&] { main = open_main_window(startup_ptr); }, 50);
        startup_ptr = &startup;
        startup.show();
        QTRY_VERIFY_WITH_TIMEOUT(main && main->isVisible(), 5000);
        QVERIFY(!startup.isVisible());
        QVERIFY(!startup.timer1()->isActive());
        QVERIFY(main->testAttribute(Qt::WA_DeleteOnClose));
        main->close();
    }

    void failed_start_leaves_no_window() {
        // State: the loader reports a missing planet.txt. Expected: the message is shown, and
        // afterwards neither the start-up nor the main window is left.
        QString shown;
        answer_next_message_box(&shown);
        SplashWindow startup({}, 60000);
        startup.show();
        MainWindow* main = open_main_window(&startup, [] {
            return vantora::TermResult<vantora::TermTables>(
                vantora::TermFileError{"planet.txt: 見つかりません"});
        });
        QVERIFY(main == nullptr);
        QVERIFY(shown.contains("planet.txt"));
        QVERIFY(!startup.isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY2(visible_windows().isEmpty(), qPrintable(visible_windows().join(", ")));
    }

    void every_way_out_ends_the_program_with_status_0_data() {
        QTest::addColumn<QString>("way");
        QTest::newRow("終了 button") << "endbtn";
        QTest::newRow("Vantora終了 menu item") << "endzarvel";
        QTest::newRow("closing the main window from its frame") << "frame";
    }
    void every_way_out_ends_the_program_with_status_0() {
        // State: main window opened by the start-up window; a chart computed; the export window
        // opened and closed by its own button (kept hidden). Action: the way out. Expected: the
        // event loop ends with 0 and no window is left on screen.
        QFETCH(QString, way);
        QPointer<MainWindow> main;
        bool exported = false;
        QWidget* startup_ptr = nullptr;
        SplashWindow startup(
            [&] {
                main = open_main_window(startup_ptr);
                if (!main) return;
                exported = compute_and_export(main);
                QTimer::singleShot(50, main, [&] {
                    if (way == "endbtn") {
                        child<QPushButton>(main, "endbtn")->click();
                    } else if (way == "endzarvel") {
                        child<QAction>(main, "endzarvel")->trigger();
                    } else {
                        main->windowHandle()->close();
                    }
                });
            },
            20);
        startup_ptr = &startup;
        startup.show();
        QTimer::singleShot(15000, qApp, [] { QCoreApplication::exit(99); });
        const int status = QApplication::exec();
        QVERIFY(exported);
        QCOMPARE(status, 0);
        QVERIFY2(visible_windows().isEmpty(), qPrintable(visible_windows().join(", ")));
    }

    void missing_or_bad_term_file_ends_the_program_with_an_error_data() {
        QTest::addColumn<bool>("with_planet");
        QTest::addColumn<int>("planet_records");
        QTest::addColumn<bool>("with_latitude");
        QTest::addColumn<QString>("named_file");
        QTest::newRow("planet.txt missing") << false << 0 << true << "planet.txt";
        QTest::newRow("planet.txt with 119 records") << true << 119 << true << "planet.txt";
        QTest::newRow("latitude.txt missing") << true << 120 << false << "latitude.txt";
    }
    void missing_or_bad_term_file_ends_the_program_with_an_error() {
        // The real program in a folder of its own, message boxes answered by its test mode.
        QFETCH(bool, with_planet);
        QFETCH(int, planet_records);
        QFETCH(bool, with_latitude);
        QFETCH(QString, named_file);

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString bin = copy_program(folder);
        QVERIFY(!bin.isEmpty());
        if (with_latitude) QVERIFY(QFile::copy(data_file("latitude.txt"), bin + "/latitude.txt"));
        if (with_planet) {
            QFile source(data_file("planet.txt"));
            QVERIFY(source.open(QIODevice::ReadOnly));
            const QList<QByteArray> lines = source.readAll().split('\n');
            QVERIFY(lines.size() >= 120);
            QFile target(bin + "/planet.txt");
            QVERIFY(target.open(QIODevice::WriteOnly));
            for (int r = 0; r < planet_records; ++r) target.write(lines[r] + '\n');
        }

        QProcess run;
        run.setProcessEnvironment(test_mode_environment());
        run.start(bin + "/vantora", {});
        QVERIFY(run.waitForStarted(5000));
        const bool finished = run.waitForFinished(20000);
        if (!finished) run.kill();
        QVERIFY2(finished, "the program did not end");
        const QString errors = QString::fromUtf8(run.readAllStandardError());
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QVERIFY2(run.exitCode() != 0, qPrintable(errors));
        QVERIFY2(errors.contains("vantora: " + named_file), qPrintable(errors));
        QVERIFY2(errors.contains("answered the message box"), qPrintable(errors));
    }

    void startup_problems_are_reported_once_and_the_program_goes_on_data() {
        QTest::addColumn<bool>("hide_japanese_fonts");
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<QStringList>("emptied");
        QTest::addColumn<QString>("reported");
        QTest::newRow("no Japanese font, said in English first")
            << true << QStringList{} << QStringList{} << "vantora: No Japanese Gothic font was found";
        QTest::newRow("two pictures missing") << false << QStringList{"btn_reverse.png", "wave.png"}
                                              << QStringList{} << "btn_reverse.png, wave.png";
        QTest::newRow("an empty picture")
            << false << QStringList{} << QStringList{"splash.png"} << "splash.png";
    }
    void startup_problems_are_reported_once_and_the_program_goes_on() {
        // State: the real program in a folder of its own with the term files and the pictures
        // but those missing or emptied; with hide_japanese_fonts, fontconfig rejects every font
        // that covers Japanese. Expected: one message box (answered by the test mode) naming the
        // problem, and the program keeps running.
        QFETCH(bool, hide_japanese_fonts);
        QFETCH(QStringList, missing);
        QFETCH(QStringList, emptied);
        QFETCH(QString, reported);

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString bin = copy_program(folder);
        QVERIFY(!bin.isEmpty());
        for (const QString& name : QStringList{"planet.txt", "latitude.txt"} + kProgramPictures) {
            if (missing.contains(name)) continue;
            if (emptied.contains(name)) {
                QFile empty(bin + "/" + name);
                QVERIFY(empty.open(QIODevice::WriteOnly));
            } else {
                QVERIFY(QFile::copy(data_file(name), bin + "/" + name));
            }
        }

        QProcessEnvironment env = test_mode_environment();
        if (hide_japanese_fonts) {
            QFile config(folder.path() + "/fonts.conf");
            QVERIFY(config.open(QIODevice::WriteOnly));
            config.write(R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <selectfont><rejectfont><pattern><patelt name="lang"><string>ja</string></patelt></pattern></rejectfont></selectfont>
</fontconfig>
)");
            env.insert("FONTCONFIG_FILE", config.fileName());
        }
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(bin + "/vantora", {});
        QVERIFY(run.waitForStarted(5000));
        const bool ended = run.waitForFinished(3000);
        run.kill();
        run.waitForFinished(5000);
        const QString errors = QString::fromUtf8(run.readAllStandardError());
        QVERIFY2(!ended, qPrintable(errors));
        QCOMPARE(
            errors.count("vantora: test mode answered the message box \"Vantora: warning / 起動時の警告\""),
            1);
        QVERIFY2(errors.contains(reported), qPrintable(errors));
    }

    void complete_data_keeps_the_program_running() {
        // Counterpart of the failures above: with both files beside it the program starts and
        // stays up (it has no message box to answer).
        QProcess run;
        run.setProcessEnvironment(test_mode_environment());
        run.start(QCoreApplication::applicationDirPath() + "/vantora", {});
        QVERIFY(run.waitForStarted(5000));
        const bool ended = run.waitForFinished(2500);
        const QString errors = QString::fromUtf8(run.readAllStandardError());
        run.kill();
        run.waitForFinished(5000);
        QVERIFY2(!ended, qPrintable(errors));
        QVERIFY2(!errors.contains("vantora:"), qPrintable(errors));
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
