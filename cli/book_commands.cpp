#include "cli/book_commands.hpp"

#include "book/book.hpp"
#include "book/book_lines.hpp"
#include "cli/line_reader.hpp"
#include "core/message_text.hpp"

#include <QCoreApplication>

#include <iostream>
#include <sstream>
#include <variant>

namespace vantora::cli {
namespace {

constexpr int kExitBadLines = 1;
constexpr int kExitBadInput = 2;
constexpr int kExitBookFailed = 4;
constexpr int kExitInputFailed = 5;

/// The list: name, reading, birth text, sex, last change, separated by tabs.
int list_book(const book::Book& book) {
    const auto records = book.list();
    if (const auto* error = std::get_if<book::BookError>(&records)) {
        std::cerr << error->message << '\n';
        return kExitBookFailed;
    }
    for (const book::Record& r : std::get<std::vector<book::Record>>(records)) {
        const request::TypedBirth& birth = r.entry.birth;
        // Names are shown escaped: a tab or line break would split the row, an escape sequence
        // would reach the terminal.
        std::cout << printable_text(r.entry.name) << '\t' << printable_text(r.entry.kana) << '\t'
                  << request::birthday_data(birth) << '\t'
                  << (birth.sex == request::sex_word(Sex::male) ? "男" : "女") << '\t'
                  << printable_text(r.changed) << '\n';
    }
    return 0;
}

int import_book(book::Book& book) {
    // Read as the batch reads: a failed read imports nothing, and a line past the batch line's
    // limit is kept only to the limit (and refused as too long), not whole in memory.
    LineReader reader(STDIN_FILENO);
    std::string text;
    while (reader.next(text)) text.push_back('\n');
    if (reader.error()) {
        std::cerr << "標準入力を読めません（" << system_error_text(reader.error())
                  << "）。何も読み込んでいません。\n";
        return kExitInputFailed;
    }
    std::istringstream lines(std::move(text));
    const book::ReadLines read = book::read_record_lines(lines);
    if (!read.problems.empty()) {
        for (const auto& problem : read.problems)
            std::cerr << problem.line << "行目: " << problem.message << '\n';
        std::cerr << "読めない行が" << read.problems.size() << "行あるため、何も読み込んでいません。\n";
        return kExitBadLines;
    }
    const auto imported = book.import_records(read.records);
    if (const auto* error = std::get_if<book::BookError>(&imported)) {
        std::cerr << error->message << '\n';
        return kExitBookFailed;
    }
    const auto& count = std::get<book::ImportCount>(imported);
    std::cerr << count.added << "人を追加し、" << count.replaced << "人を置き換えました。\n";
    return 0;
}

} // namespace

void add_book_options(CLI::App& app, BookCommand& command) {
    app.add_option("--book", command.path, "名簿（SQLite のファイル）: --list, --export, --import で使う")
        ->type_name("PATH");
    app.add_flag("--list", command.list, "名簿の人を一覧する: 名前、よみ、生年月日、性別、変更日時");
    app.add_flag("--export", command.export_lines, "名簿を JSON の行で書き出す（--batch の入力になる）");
    app.add_flag("--import", command.import_lines,
                 "標準入力の JSON の行を名簿に読み込む（全部の行か、何も読まないか）");
}

std::optional<int> run_book_command(const CLI::App& app, const BookCommand& command) {
    const int actions = int{command.list} + int{command.export_lines} + int{command.import_lines};
    if (actions == 0 && app.count("--book") == 0) return std::nullopt;
    if (actions != 1) {
        std::cerr << "名簿には --list、--export、--import のどれか一つを指定してください\n";
        return kExitBadInput;
    }
    // Qt SQL loads its SQLite driver as a plugin, which needs an application object; its name
    // places the default book where the window program keeps it.
    static int argc = 1;
    static char name[] = "vantora-chart";
    static char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vantora"));

    const QString path =
        app.count("--book") == 0 ? book::Book::default_path() : QString::fromStdString(command.path);
    // Reading commands never make a book; an import makes one only in a folder that exists.
    book::OpenOptions options;
    options.creation = command.import_lines ? book::OpenOptions::Creation::in_existing_folder
                                            : book::OpenOptions::Creation::never;
    auto opened = book::Book::open(path, options);
    if (const auto* error = std::get_if<book::BookError>(&opened)) {
        std::cerr << error->message << '\n';
        return kExitBookFailed;
    }
    auto& book = *std::get<std::unique_ptr<book::Book>>(opened);
    if (command.import_lines) return import_book(book);
    if (book.read_only()) std::cerr << book.read_only_reason() << '\n';
    if (command.list) return list_book(book);
    if (const auto error = book::export_book(book, std::cout)) {
        std::cerr << error->message << '\n';
        return kExitBookFailed;
    }
    return 0;
}

} // namespace vantora::cli
