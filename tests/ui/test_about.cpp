// The About message (バージョン情報): its exact text, its box, and the sound after OK.
#include "ui/about_message.hpp"
#include "ui_test_support.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace vantora::ui;

namespace {

/// What the box looked like when it was answered.
struct SeenBox {
    bool seen = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::Information;
    QList<QAbstractButton*> buttons;
    QMessageBox::StandardButton ok_button = QMessageBox::NoButton;
};

/// Answers the About box with OK as soon as it is the active modal window.
void answer_about_box(SeenBox& seen, const QString& screenshot = {}) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, screenshot] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        poll->stop();
        poll->deleteLater();
        seen.seen = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->buttons();
        if (!seen.buttons.isEmpty()) seen.ok_button = box->standardButton(seen.buttons.first());
        if (!screenshot.isEmpty()) vantora::ui::testing::save_screenshot(box, screenshot);
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->close();
        }
    });
    poll->start();
}

} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { vantora::ui::testing::prepare_ui_test(); }

    void about_text_is_exact_to_the_character() {
        // State: none. Action: build the text. Expected: version line, CR CR LF, rights line,
        // CR CR LF, contact line (7 blanks + U+3000), CR LF, web line (2 blanks, 3 × U+3000, 1 blank).
        const QChar ideographic(0x3000);
        const QString expected = QStringLiteral("Vantora（Eldra） Ver.  2.5.34") + "\r\r\n" +
                                 QStringLiteral("© 2026 Vantora Project") + "\r\r\n" + QString(7, ' ') +
                                 ideographic + "vantora@example.jp" + "\r\n" + QString(2, ' ') +
                                 QString(3, ideographic) + ' ' + "https://vantora.example.jp";
        const QString actual = about_text();
        QCOMPARE(actual, expected);
        QCOMPARE(actual.toUtf8(), expected.toUtf8());
    }

    void about_text_has_four_lines_with_a_blank_line_after_the_first_two() {
        // Line breaks as the message box counts them: a CR LF pair is one break, a lone CR another.
        QString text = about_text();
        text.replace("\r\n", "\n").replace('\r', '\n');
        const QStringList lines = text.split('\n');
        QCOMPARE(lines.size(), 6);
        QVERIFY(lines[0].startsWith(QStringLiteral("Vantora（Eldra） Ver.  ")));
        QVERIFY(lines[0].endsWith(QStringLiteral("2.5.34")));
        QVERIFY(lines[1].isEmpty());
        QVERIFY(lines[3].isEmpty());
        QVERIFY(!lines[2].trimmed().isEmpty());
        QVERIFY(lines[4].contains('@'));
        QVERIFY(lines[5].contains(QStringLiteral("https://")));
    }

    void about_box_has_title_text_no_icon_and_only_ok() {
        // Action: show the message and press OK. Expected: the box is the one described.
        SeenBox seen;
        answer_about_box(seen, QStringLiteral("about_message"));
        show_about_message(nullptr);
        QVERIFY(seen.seen);
        QCOMPARE(seen.title, QStringLiteral("バージョン情報"));
        QCOMPARE(seen.text, about_text());
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons.size(), 1);
        QCOMPARE(seen.ok_button, QMessageBox::Ok);
    }

    void about_returns_soon_after_ok_even_without_sound() {
        // State: no audio device here (CI). Action: OK at once. Expected: no hang; the sound
        // (0.6 s) and its bounded wait together stay well below a few seconds.
        SeenBox seen;
        answer_about_box(seen);
        QElapsedTimer clock;
        clock.start();
        QWidget parent;
        parent.show();
        show_about_message(&parent);
        QVERIFY(seen.seen);
        QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed()) + " ms"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(AboutTest)
#include "test_about.moc"
