#include "cli/command_line.hpp"

#include "core/message_text.hpp"

#include <unistd.h>

#include <cerrno>

namespace vantora::cli {
namespace {

constexpr const char* kHint = "（--help で使い方を表示します）";

constexpr const char* kFooter =
    "--batch の各行: year, month, day, hour, minute, sex, offset_minutes, offset_seconds（または place）,\n"
    "now と省略できる stamp を持つ JSON オブジェクト。値は文字列か、整数の値を持つ数値（5, 5.0, 1e1。\n"
    "-0 と -0.0 は \"-0\" と同じく西）。小数のある数値（0.5, 1e-05）は読まずにその行の誤りとします。\n"
    "64KiB を超える行と32段を超える入れ子も、その行の誤りです。\n"
    "\n"
    "終了ステータス: 0 成功 / 1 --batch の行に誤りがあった / 2 オプションの誤り /\n"
    "3 planet.txt・latitude.txt がない・壊れている / 4 名簿を開けない・書けない /\n"
    "5 標準出力に書き込めない・標準入力を読めない\n";

/// The part of `text` after `marker`, or "" when it is not there.
std::string after(const std::string& text, std::string_view marker) {
    const auto at = text.find(marker);
    return at == std::string::npos ? std::string() : text.substr(at + marker.size());
}

/// The option name a CLI11 message starts with ("--year: …").
std::string leading_name(const std::string& text) {
    return text.substr(0, text.find(':'));
}

/// CLI11's help with "-h, --help" spaced as the window program's help writes it.
class SpacedNamesFormatter : public CLI::Formatter {
public:
    std::string make_option_name(const CLI::Option* option, bool positional) const override {
        std::string names = CLI::Formatter::make_option_name(option, positional);
        for (auto comma = names.find(','); comma != std::string::npos; comma = names.find(',', comma + 2))
            names.insert(comma + 1, " ");
        return names;
    }
};

} // namespace

void describe_in_japanese(CLI::App& app) {
    const auto formatter = std::make_shared<SpacedNamesFormatter>();
    app.formatter(formatter);
    // Value names stay ASCII: CLI11 pads the columns by bytes, not by the width of characters.
    formatter->label("Usage", "使い方");
    formatter->label("OPTIONS", "オプション");
    formatter->label("TEXT", "VALUE");
    formatter->column_width(30);
    app.option_defaults()->group("オプション");
    app.set_help_flag("-h,--help", "この使い方を表示して終わる");
    // The version as the window program prints it: the program's name, then major.minor.revision.
    app.set_version_flag("--version", "vantora-chart " VANTORA_VERSION,
                         "版（vantora-chart " VANTORA_VERSION " の形）を表示して終わる");
    app.footer(kFooter);
}

std::string japanese_parse_error(const CLI::ParseError& error) {
    const std::string what = error.what();
    std::string message;
    if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
        message = after(what, "expected: ") + " は使えない引数です";
    } else if (dynamic_cast<const CLI::ConversionError*>(&error)) {
        if (what.starts_with("Could not convert: ")) {
            const std::string rest = after(what, "Could not convert: ");
            const auto equals = rest.find(" = ");
            message =
                rest.substr(0, equals) + " の値「" + printable_text(after(rest, " = ")) + "」を読めません";
        } else if (what.find("too many inputs for a flag") != std::string::npos) {
            message = leading_name(what) + " は値を取りません";
        } else {
            message = leading_name(what) + " の値を読めません";
        }
    } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) {
        if (what.find("At Most") != std::string::npos) {
            message = leading_name(what) + " は一度だけ指定してください";
        } else {
            message = leading_name(what) + " に値がありません";
        }
    } else {
        message = "オプションを読めません（" + printable_text(what) + "）";
    }
    return message + kHint;
}

int write_all(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t put = ::write(fd, data.data(), data.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data.remove_prefix(static_cast<std::size_t>(put));
    }
    return 0;
}

std::string write_error_message(int error_number) {
    return "標準出力に書き込めません（" + system_error_text(error_number) + "）";
}

} // namespace vantora::cli
