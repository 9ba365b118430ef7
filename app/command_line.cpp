#include "app/command_line.hpp"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace vantora::app {

namespace {

/// Writes `text` to standard output and flushes it; on failure says so on standard error.
/// Returns whether every byte was written.
bool write_stdout(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    const bool written = std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) ==
                             static_cast<std::size_t>(bytes.size()) &&
                         std::fflush(stdout) == 0;
    if (!written) std::fputs("vantora: 標準出力に書き込めませんでした\n", stderr);
    return written;
}

/// Writes the Japanese message of a wrong command line to standard error; returns kExitBadOption.
int report_bad_option(const QString& error) {
    std::fprintf(stderr, "vantora: %s（--help で使い方を表示します）\n", qUtf8Printable(error));
    return kExitBadOption;
}

} // namespace

QString ParserTextsJa::translate(const char* context, const char* source, const char*, int) const {
    if (std::strcmp(context, "QCommandLineParser") != 0) return {};
    struct Text {
        const char* source;
        const char* japanese;
    };
    // Every text of QCommandLineParser that the help and the error messages of this program use;
    // a blank line under the usage line, as GNU programs have it.
    static constexpr Text kTexts[] = {
        {"Usage: %1", "使い方: %1\n"},
        {"[options]", "[オプション]"},
        {"Options:", "オプション:"},
        {"Arguments:", "引数:"},
        {"Unknown option '%1'.", "不明なオプションです: %1"},
        {"Unknown options: %1.", "不明なオプションです: %1"},
        {"Missing value after '%1'.", "%1 のあとに値がありません"},
        {"Unexpected value after '%1'.", "%1 は値をとりません"},
    };
    for (const Text& text : kTexts) {
        if (std::strcmp(source, text.source) == 0) return QString::fromUtf8(text.japanese);
    }
    return {};
}

void describe_options(QCommandLineParser& parser, const ProgramOptions& options) {
    // "-platform offscreen" and the like are Qt's options: read as one word, never as -p -l -a …
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("四柱推命（八字）の命式を出すデスクトップアプリケーションです。\n"
                       "オプションなしで起動すると、起動画面のあと主画面を開きます。\n"
                       "Qt の標準オプション（-platform、-style など）も受け付けます。"));
    parser.addOption(options.help);
    parser.addOption(options.version);
    parser.addOption(options.book);
}

std::optional<int> answer_without_window(const ProgramOptions& options) {
    QCommandLineParser parser;
    describe_options(parser, options);
    // An unknown option may be one of Qt's, which only QApplication takes away: check_options()
    // judges those. A wrong value of one of our own options is wrong whatever Qt takes.
    if (!parser.parse(QCoreApplication::arguments()) && parser.unknownOptionNames().isEmpty()) {
        return report_bad_option(parser.errorText());
    }
    QString text;
    if (parser.isSet(options.help)) {
        text = parser.helpText();
    } else if (parser.isSet(options.version)) {
        text = QStringLiteral("vantora %1\n").arg(QCoreApplication::applicationVersion());
    } else {
        return std::nullopt;
    }
    return write_stdout(text) ? 0 : kExitStartFailed;
}

std::optional<int> check_options(QCommandLineParser& parser, const ProgramOptions& options,
                                 const QStringList& arguments) {
    describe_options(parser, options);
    if (!parser.parse(arguments)) return report_bad_option(parser.errorText());
    if (!parser.positionalArguments().isEmpty()) {
        return report_bad_option(QStringLiteral("余分な引数です: ") +
                                 parser.positionalArguments().join(QLatin1Char(' ')));
    }
    return std::nullopt;
}

} // namespace vantora::app
