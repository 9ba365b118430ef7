#include "ui/about_message.hpp"

#include "ui/ui_common.hpp"

#include <QAudioDevice>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMessageBox>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace vantora::ui {
namespace {

const QString kRightsLine = QStringLiteral("© 2026 Vantora Project");
const QString kMailAddress = QStringLiteral("vantora@example.jp");
const QString kWebAddress = QStringLiteral("https://vantora.example.jp");

/// notify.wav lasts 0.6 s; the wait for its end gives up after this many milliseconds so that
/// a stuck audio back end can never hold the window thread.
constexpr int kSoundWaitLimitMs = 3000;

QtMessageHandler handler_before_sound = nullptr;

/// Drops the audio back end's complaints (no sound server, no device): the sound is optional and
/// the user has nothing to do about them. Every other message goes on as before.
void drop_audio_messages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool from_audio = message.startsWith(QLatin1String("PulseAudioService")) ||
                            QByteArray(context.category ? context.category : "").startsWith("qt.multimedia");
    if (from_audio && type != QtFatalMsg) return;
    if (handler_before_sound) {
        handler_before_sound(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}

/// Holds drop_audio_messages in place for its lifetime.
class QuietAudioMessages {
public:
    QuietAudioMessages() { handler_before_sound = qInstallMessageHandler(drop_audio_messages); }
    ~QuietAudioMessages() { qInstallMessageHandler(handler_before_sound); }
    QuietAudioMessages(const QuietAudioMessages&) = delete;
    QuietAudioMessages& operator=(const QuietAudioMessages&) = delete;
};

/// Plays a WAV file to its end before returning, like a synchronous system sound call.
/// User input is held back meanwhile (the main window does not respond while the sound plays).
/// Without an audio output, or when the file is missing or cannot be decoded, nothing is played
/// and nothing is reported: the result of the sound is of no consequence to the program.
void play_sound_to_end(const QString& path) {
    const QuietAudioMessages quiet;
    if (!QFileInfo::exists(path) || QMediaDevices::audioOutputs().isEmpty()) return;

    QSoundEffect effect;
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect.isPlaying()) loop.quit();
    });
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect.status() == QSoundEffect::Error) loop.quit();
    });
    effect.setSource(QUrl::fromLocalFile(path));
    effect.play();
    if (effect.status() == QSoundEffect::Error) return;
    limit.start(kSoundWaitLimitMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    effect.stop();
}

} // namespace

QString about_text() {
    const QChar ideographic_space(0x3000);
    return QStringLiteral("Vantora（Eldra） Ver.  ") + version_text() + QStringLiteral("\r\r\n") +
           kRightsLine + QStringLiteral("\r\r\n") + QStringLiteral("       ") + ideographic_space +
           kMailAddress + QStringLiteral("\r\n") + QStringLiteral("  ") + QString(3, ideographic_space) +
           QStringLiteral(" ") + kWebAddress;
}

void show_about_message(QWidget* parent) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("バージョン情報"), about_text(), QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("about_message"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
    play_sound_to_end(data_path(QStringLiteral("notify.wav")));
}

} // namespace vantora::ui
