// The window program's command line: its options, their Japanese help and error texts.
//
// The options are read twice. First under a plain QCoreApplication, before anything touches the
// window system, so that --help and --version answer without a display. Then, once QApplication has
// taken Qt's own options (-platform, -style, …) out of the arguments, the rest is checked and a
// wrong option ends the program with a message. A new option is one more member of ProgramOptions,
// added to the parser in describe_options() and read from the parser returned by read_options().
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <QTranslator>

#include <optional>

namespace vantora::app {

/// Exit statuses of the vantora program.
inline constexpr int kExitStartFailed = 1; ///< a start-up file missing or damaged, or output not written
inline constexpr int kExitBadOption = 2;   ///< an unknown option or a missing or unexpected value

/// The options of the vantora program, with their Japanese help lines.
struct ProgramOptions {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("この使い方を表示して終わります。")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("版（vantora 2.5.34 の形）を表示して終わります。")};
    QCommandLineOption book{QStringLiteral("book"),
                            QStringLiteral("名簿に使う SQLite のファイル（既定は利用者のデータフォルダーの "
                                           "Vantora/charts.sqlite3）。名簿を使うまで何も書きません。"),
                            QStringLiteral("PATH")};
};

/// Gives QCommandLineParser's own words (the "Usage:" line, the "Options:" heading, the error
/// messages) in Japanese. Install it on the application before a parser's help or error text is read.
class ParserTextsJa : public QTranslator {
public:
    /// The Japanese text of `source` when `context` is "QCommandLineParser", else a null string
    /// (which lets Qt keep the source text).
    QString translate(const char* context, const char* source, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

/// Adds the program's description and every option of `options` to `parser`.
void describe_options(QCommandLineParser& parser, const ProgramOptions& options);

/// First reading, of QCoreApplication::arguments(): prints the help or the version to standard
/// output when asked. Returns the exit status when the program is to end now (0; kExitStartFailed
/// when the text could not be written; kExitBadOption, after a message, for a wrong value of one of
/// the program's options), or nothing when the window is to open. Unknown options and extra
/// arguments are left to check_options(), after Qt has removed its own options.
std::optional<int> answer_without_window(const ProgramOptions& options);

/// Second reading, of QApplication::arguments(): returns kExitBadOption after writing a Japanese
/// message naming the wrong option to standard error, or nothing when the arguments are good. The
/// parser is left holding the values, for options that carry one.
std::optional<int> check_options(QCommandLineParser& parser, const ProgramOptions& options,
                                 const QStringList& arguments);

} // namespace vantora::app
