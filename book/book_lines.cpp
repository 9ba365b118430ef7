#include "book/book_lines.hpp"

#include "core/message_text.hpp"
#include "request/batch_line.hpp"

#include <QDateTime>
#include <QString>

#include <QSaveFile>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <sstream>
#include <unordered_map>

namespace vantora::book {
namespace {

using nlohmann::json;

/// A list text as JSON: a number when it is one ("14" → 14), else the text ("?").
json list_value(const std::string& text) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) return text;
    return number;
}

/// An optional string member; false when it is there but not a string.
bool optional_string(const json& object, const char* key, std::string& out) {
    const auto found = object.find(key);
    if (found == object.end()) return true;
    if (!found->is_string()) return false;
    out = found->get<std::string>();
    return true;
}

bool is_time(const std::string& text) {
    return QDateTime::fromString(QString::fromStdString(text), Qt::ISODate).isValid();
}

/// The record of one line, or what is wrong with it.
std::variant<Record, std::string> read_line(const std::string& line) {
    json object;
    const auto read = request::read_batch_line(line, &object);
    if (const auto* error = std::get_if<request::RequestError>(&read)) return error->message;
    const request::TypedBirth& typed = std::get<request::TypedRequest>(read).birth;
    const auto checked = request::check_request(std::get<request::TypedRequest>(read));
    if (const auto* error = std::get_if<request::RequestError>(&checked)) return error->message;
    const request::Request& request = std::get<request::Request>(checked);
    const BirthRecord& birth = request.record;

    Record record;
    Entry& e = record.entry;
    std::string place_name;
    if (!optional_string(object, "name", e.name)) return std::string("name: 文字列を指定してください");
    for (const auto& [key, target] :
         {std::pair{"kana", &e.kana}, std::pair{"memo", &e.memo}, std::pair{"place_name", &place_name},
          std::pair{"created", &record.created}, std::pair{"changed", &record.changed}}) {
        if (!optional_string(object, key, *target)) return std::string(key) + ": 文字列を指定してください";
    }
    if (!place_name.empty()) e.birth.place = place_name;
    for (const auto& [key, time] :
         {std::pair{"created", &record.created}, std::pair{"changed", &record.changed}}) {
        if (!time->empty() && !is_time(*time))
            return std::string(key) + ": 日時ではありません（" + *time + "）";
    }
    bool no_minute = false;
    if (const auto found = object.find("no_minute"); found != object.end()) {
        if (!found->is_boolean()) return std::string("no_minute: true か false を指定してください");
        no_minute = found->get<bool>();
    }
    // The lists' texts of the checked birth ("007" is the list's "7"); the offsets as typed.
    e.birth.year = std::to_string(static_cast<int>(birth.birth_year));
    e.birth.month = std::to_string(static_cast<int>(birth.birth_month));
    e.birth.day = std::to_string(static_cast<int>(birth.birth_day));
    e.birth.hour = birth.hour_unknown ? "?" : std::to_string(static_cast<int>(birth.birth_hour));
    e.birth.minute = no_minute              ? ""
                     : birth.minute_unknown ? "?"
                                            : std::to_string(static_cast<int>(birth.birth_minute));
    e.birth.sex = request::sex_word(birth.sex);
    if (request.place) {
        // A batch line may name the place instead of the offsets: kept as the map would enter it.
        e.birth.offset_minutes = request.place->offset.minutes;
        e.birth.offset_seconds = request.place->offset.seconds;
        e.birth.place = request.place->name;
    } else {
        e.birth.offset_minutes = typed.offset_minutes;
        e.birth.offset_seconds = typed.offset_seconds;
    }
    if (auto problem = entry_problem(e)) return std::move(*problem);
    return record;
}

} // namespace

std::string local_now_text() {
    const LocalDateTime t = local_now();
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

std::string record_line(const Record& record, const std::string& now) {
    const Entry& e = record.entry;
    const request::TypedBirth& birth = e.birth;
    nlohmann::ordered_json line{{"year", list_value(birth.year)},
                                {"month", list_value(birth.month)},
                                {"day", list_value(birth.day)},
                                {"hour", list_value(birth.hour)},
                                {"minute", birth.minute.empty() ? json("?") : list_value(birth.minute)},
                                {"sex", birth.sex},
                                {"offset_minutes", birth.offset_minutes},
                                {"offset_seconds", birth.offset_seconds},
                                {"now", now},
                                {"name", e.name},
                                {"kana", e.kana},
                                {"memo", e.memo}};
    if (birth.minute.empty()) line["no_minute"] = true;
    if (birth.place) line["place_name"] = *birth.place;
    line["created"] = record.created;
    line["changed"] = record.changed;
    return line.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::optional<BookError> export_book(const Book& book, std::ostream& out) {
    const auto records = book.list();
    if (const auto* error = std::get_if<BookError>(&records)) return *error;
    const std::string now = local_now_text();
    for (const Record& record : std::get<std::vector<Record>>(records))
        out << record_line(record, now) << '\n';
    out.flush();
    if (!out) return BookError{"名簿を書き出せませんでした（書き込みに失敗しました）。"};
    return std::nullopt;
}

std::optional<BookError> export_book_file(const Book& book, const QString& path) {
    std::ostringstream lines;
    if (auto error = export_book(book, lines)) return error;
    const std::string bytes = std::move(lines).str();
    QSaveFile file(path);
    errno = 0;
    // Unbuffered, so that a write cut short by a full disk shows in the count it returns (a
    // buffered file would report it nowhere and commit a truncated file).
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
        file.commit()) {
        return std::nullopt;
    }
    const int reason = errno;
    return BookError{"名簿を書き出せませんでした（" +
                     (reason ? system_error_text(reason) : std::string("書き込みに失敗しました")) + ": " +
                     printable_text(path.toStdString()) + "）。"};
}

ReadLines read_record_lines(std::istream& in) {
    ReadLines result;
    std::unordered_map<std::string, long> first_line_of_name;
    std::string line;
    for (long number = 1; std::getline(in, line); ++number) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        auto read = read_line(line);
        if (auto* problem = std::get_if<std::string>(&read)) {
            result.problems.push_back({number, std::move(*problem)});
            continue;
        }
        Record& record = std::get<Record>(read);
        const auto [first, added] = first_line_of_name.emplace(record.entry.name, number);
        if (!added) {
            result.problems.push_back({number, "name: " + std::to_string(first->second) +
                                                   "行目と同じ名前です（" + record.entry.name + "）"});
            continue;
        }
        result.records.push_back(std::move(record));
    }
    return result;
}

} // namespace vantora::book
