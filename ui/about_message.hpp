// The About message (バージョン情報) and the notification sound that follows it.
#pragma once

#include <QString>

class QWidget;

namespace vantora::ui {

/// The text of the About message, with its CR CR LF and CR LF line breaks.
QString about_text();

/// Shows the About message (OK only, no icon) modally over parent, then plays notify.wav to its
/// end before returning. Without an audio device the sound is skipped silently.
void show_about_message(QWidget* parent);

} // namespace vantora::ui
