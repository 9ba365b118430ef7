#include "core/term_file.hpp"

#include "core/message_text.hpp"

#include "core/program_folder.hpp"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <fstream>
#include <optional>

namespace vantora {
namespace {

/// A number longer than this is not a term value; it stops the reader before it buffers garbage.
constexpr std::size_t kMaxValueLength = 64;

/// A UTF-8 byte-order mark, which an editor may put before the first value.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Bounds on the term values, each far beyond what a planet can do to the Sun's place and far
// within what the sums can carry. The largest shipped terms are 7.208″ in longitude, 7067 × 1e-9
// in log₁₀ distance and 0.21″ in latitude; the whole planetary effect on the Sun is a few tens
// of seconds of arc. At the bounds, 120 terms move the longitude by at most 3.3° and the
// log₁₀ distance by at most 0.012 (the distance stays within 0.95 … 1.05 AU), so a table that
// loads can never make the chart's sums overflow, lose their digits or leave the ranges the chart
// computation checks. A value beyond a bound is damage (a digit slipped, an exponent added).

/// Longitude amplitude A, seconds of arc: 14 times the largest shipped term.
constexpr double kMaxLongitudeAmplitude = 100;
/// Distance amplitude B, units of 1e-9 of log₁₀ distance (1e-4, about 0.023 % of the distance
/// per term): 14 times the largest shipped term.
constexpr double kMaxDistanceAmplitude = 100000;
/// Latitude amplitude A, seconds of arc: 47 times the largest shipped term.
constexpr double kMaxLatitudeAmplitude = 10;
/// Phases α and β, degrees. A table may write them in 0..360 or −180..180; two turns either
/// way leave room for both and keep the argument of the cosine exact to far below a second.
constexpr double kMaxPhase = 720;

/// The allowed magnitude of one real column of a term record and the name of the quantity it
/// holds, for the message.
struct ColumnBound {
    double limit;
    std::string_view quantity; ///< e.g. "経度の振幅"
    std::string_view unit;     ///< e.g. "秒角"; empty for a pure number
};

constexpr std::array<ColumnBound, 4> kPlanetBounds{{{kMaxLongitudeAmplitude, "経度の振幅", "秒角"},
                                                    {kMaxPhase, "位相", "度"},
                                                    {kMaxDistanceAmplitude, "距離の振幅", ""},
                                                    {kMaxPhase, "位相", "度"}}};
constexpr std::array<ColumnBound, 2> kLatitudeBounds{
    {{kMaxLatitudeAmplitude, "緯度の振幅", "秒角"}, {kMaxPhase, "位相", "度"}}};

bool is_separator(int c) {
    return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/// Decimal number: optional sign, digits with at most one point, optional exponent.
bool is_decimal_number(std::string_view text) {
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    std::size_t digits = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos, ++digits;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos, ++digits;
    }
    if (digits == 0) return false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        std::size_t exponent_digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos, ++exponent_digits;
        if (exponent_digits == 0) return false;
    }
    return pos == text.size();
}

/// Splits a term file into values, one record of `width` values at a time, and checks them.
class TermReader {
public:
    TermReader(std::istream& in, std::string_view file_name, std::size_t record_count)
        : in_(in)
        , file_name_(file_name)
        , record_count_(record_count) {}

    /// The next record's values, or nullopt with error() set.
    template <std::size_t Width> std::optional<std::array<double, Width>> next_record(std::size_t record) {
        std::array<double, Width> values{};
        for (std::size_t field = 0; field < Width; ++field) {
            const auto value = next_value(record, field, field == 0);
            if (!value) return std::nullopt;
            values[field] = *value;
        }
        return values;
    }

    /// Checks an integer field p, i or j: a whole number within the 16-bit range.
    std::optional<std::int16_t> whole(double value, std::size_t record, std::size_t field) {
        if (value != std::trunc(value)) return fail(record, field, "は整数ではありません");
        if (value < -32768.0 || value > 32767.0)
            return fail(record, field, "は整数の範囲（-32768〜32767）を超えています");
        return static_cast<std::int16_t>(value);
    }

    /// Checks a real field (after p, i, j) against its bound: |value| ≤ bound.limit.
    bool within(double value, std::size_t record, std::size_t field, const ColumnBound& bound) {
        if (std::abs(value) <= bound.limit) return true;
        const std::string limit = std::to_string(static_cast<long>(bound.limit));
        fail(record, field,
             "は" + std::string(bound.quantity) + "の範囲（-" + limit + "〜" + limit +
                 std::string(bound.unit) + "）を超えています");
        return false;
    }

    /// Checks a body number: 1 (Mercury) … 6 (Saturn).
    std::optional<std::int16_t> body(double value, std::size_t record) {
        const auto p = whole(value, record, 0);
        if (!p) return std::nullopt;
        if (*p < 1 || *p > 6) {
            error_ = TermFileError{prefix(record) + "の天体番号「" + printable_text(tokens_[0]) +
                                   "」は1〜6の範囲外です"};
            return std::nullopt;
        }
        return p;
    }

    TermFileError error() const { return error_; }

private:
    std::string prefix(std::size_t record) const {
        return std::string(file_name_) + ": " + std::to_string(record + 1) + "件目";
    }

    std::nullopt_t fail(std::size_t record, std::size_t field, std::string_view problem) {
        const std::string& token = tokens_[field];
        error_ = TermFileError{prefix(record) + "の" + std::to_string(field + 1) + "番目の値" +
                               (token.empty() ? std::string() : "「" + printable_text(token) + "」") +
                               std::string(problem)};
        return std::nullopt;
    }

    std::nullopt_t end_of_file(std::size_t record, bool at_record_start) {
        const auto need = "（" + std::to_string(record_count_) + "件が必要です）";
        if (in_.bad()) {
            error_ = TermFileError{std::string(file_name_) + ": 読み込めません" + need};
        } else if (!at_record_start) {
            error_ = TermFileError{prefix(record) + "の途中で終わっています" + need};
        } else if (record == 0) {
            error_ = TermFileError{std::string(file_name_) + ": 数値がありません" + need};
        } else {
            error_ = TermFileError{std::string(file_name_) + ": " + std::to_string(record) +
                                   "件目で終わっています" + need};
        }
        return std::nullopt;
    }

    /// Reads one value. Blanks and line ends separate values freely; a comma may stand once
    /// between two values, so ",," marks a missing value.
    std::optional<double> next_value(std::size_t record, std::size_t field, bool at_record_start) {
        std::string& token = tokens_[field];
        token.clear();
        int c = in_.get();
        while (c != EOF && is_separator(c)) {
            if (c == ',') {
                if (comma_seen_) return fail(record, field, "がありません");
                comma_seen_ = true;
            }
            c = in_.get();
        }
        if (c == EOF) return end_of_file(record, at_record_start);
        while (c != EOF && !is_separator(c)) {
            if (token.size() == kMaxValueLength) {
                token += "…";
                return fail(record, field, "は長すぎます");
            }
            token.push_back(static_cast<char>(c));
            c = in_.get();
        }
        comma_seen_ = c == ',';
        if (first_value_) {
            first_value_ = false;
            if (token.starts_with(kByteOrderMark)) token.erase(0, kByteOrderMark.size());
        }
        if (!is_decimal_number(token)) return fail(record, field, "は数値ではありません");
        const std::string_view digits = token.front() == '+' ? std::string_view(token).substr(1) : token;
        double value = 0;
        const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (status != std::errc{} || end != digits.data() + digits.size() || !std::isfinite(value)) {
            return fail(record, field, "は数値として大きすぎます");
        }
        return value;
    }

    std::istream& in_;
    std::string_view file_name_;
    std::size_t record_count_;
    std::array<std::string, 7> tokens_; ///< the texts of the current record's values, for messages
    bool comma_seen_ = false;
    bool first_value_ = true;
    TermFileError error_;
};

template <class T> TermResult<T> open_and_read(const std::filesystem::path& path, auto read) {
    const std::string name = path.filename().string();
    std::error_code ignored;
    std::ifstream in;
    errno = 0;
    if (std::filesystem::is_directory(path, ignored)) {
        errno = EISDIR;
    } else {
        in.open(path, std::ios::binary);
    }
    if (!in.is_open()) {
        const int reason = errno != 0 ? errno : ENOENT;
        return TermFileError{name + ": ファイルを開けません（" + system_error_text(reason) + ": " +
                             printable_text(path.string()) + "）"};
    }
    return read(in, name);
}

/// Reads Count records of Width values. The first three, p, i and j, are checked as a body
/// number and two 16-bit multipliers, the others against `bounds`; make_term builds the row
/// from them and the record.
template <class Term, std::size_t Count, std::size_t Width, class MakeTerm>
TermResult<std::array<Term, Count>> read_terms(std::istream& in, std::string_view file_name,
                                               const std::array<ColumnBound, Width - 3>& bounds,
                                               MakeTerm make_term) {
    TermReader reader(in, file_name, Count);
    std::array<Term, Count> terms{};
    for (std::size_t r = 0; r < Count; ++r) {
        const auto v = reader.next_record<Width>(r);
        if (!v) return reader.error();
        const auto p = reader.body((*v)[0], r);
        if (!p) return reader.error();
        const auto i = reader.whole((*v)[1], r, 1);
        if (!i) return reader.error();
        const auto j = reader.whole((*v)[2], r, 2);
        if (!j) return reader.error();
        for (std::size_t field = 3; field < Width; ++field) {
            if (!reader.within((*v)[field], r, field, bounds[field - 3])) return reader.error();
        }
        terms[r] = make_term(*p, *i, *j, *v);
    }
    return terms;
}

} // namespace

TermResult<std::array<PlanetTerm, kPlanetTermCount>> read_planet_terms(std::istream& in,
                                                                       std::string_view file_name) {
    return read_terms<PlanetTerm, kPlanetTermCount, 7>(
        in, file_name, kPlanetBounds,
        [](std::int16_t p, std::int16_t i, std::int16_t j, const std::array<double, 7>& v) {
            return PlanetTerm{p, i, j, v[3], v[4], v[5], v[6]};
        });
}

TermResult<std::array<LatitudeTerm, kLatitudeTermCount>> read_latitude_terms(std::istream& in,
                                                                             std::string_view file_name) {
    return read_terms<LatitudeTerm, kLatitudeTermCount, 5>(
        in, file_name, kLatitudeBounds,
        [](std::int16_t p, std::int16_t i, std::int16_t j, const std::array<double, 5>& v) {
            return LatitudeTerm{p, i, j, v[3], v[4]};
        });
}

TermResult<TermTables> load_term_tables(const std::filesystem::path& folder) {
    TermTables tables;
    using PlanetArray = std::array<PlanetTerm, kPlanetTermCount>;
    using LatitudeArray = std::array<LatitudeTerm, kLatitudeTermCount>;
    auto planet =
        open_and_read<PlanetArray>(folder / "planet.txt", [](std::istream& in, const std::string& name) {
            return read_planet_terms(in, name);
        });
    if (auto* error = std::get_if<TermFileError>(&planet)) return *error;
    tables.planet_terms = std::get<PlanetArray>(planet);
    auto latitude =
        open_and_read<LatitudeArray>(folder / "latitude.txt", [](std::istream& in, const std::string& name) {
            return read_latitude_terms(in, name);
        });
    if (auto* error = std::get_if<TermFileError>(&latitude)) return *error;
    tables.latitude_terms = std::get<LatitudeArray>(latitude);
    return tables;
}

TermResult<TermTables> init_tables() {
    return load_term_tables(data_folder());
}

} // namespace vantora
