#include "request/plain_batch_line.hpp"

#include "request/batch_line.hpp"

#include <array>

namespace vantora::request {
namespace {

/// A value on a plain line: a string's bytes between its quotes, or a whole number as written.
/// Both are the text the JSON reading gives the field ("-0" stays "-0", as a negative zero does).
struct PlainValue {
    std::string_view text;
    bool is_string = false;
};

/// Walks a plain line token by token. Each reader skips the JSON white space before its token and
/// returns false where the line leaves the plain shape; the position is then of no further use.
class PlainCursor {
public:
    explicit PlainCursor(std::string_view line)
        : line_(line) {}

    /// Takes the character `c`; false when another one (or the end) comes first.
    bool take(char c) {
        skip_space();
        if (at_ == line_.size() || line_[at_] != c) return false;
        ++at_;
        return true;
    }

    /// True when nothing but white space is left.
    bool at_end() {
        skip_space();
        return at_ == line_.size();
    }

    /// A string of printable ASCII without escapes: `out` gets its bytes between the quotes.
    bool string(std::string_view& out) {
        if (!take('"')) return false;
        for (const std::size_t from = at_; at_ < line_.size(); ++at_) {
            const auto c = static_cast<unsigned char>(line_[at_]);
            if (c == '"') {
                out = line_.substr(from, at_++ - from);
                return true;
            }
            if (c < 0x20 || c > 0x7E || c == '\\') return false;
        }
        return false;
    }

    /// A plain string, or a whole number -?(0|[1-9][0-9]{0,17}) that every integer type of the
    /// JSON parser holds exactly; a fraction or exponent after it makes the next token fail.
    bool value(PlainValue& out) {
        skip_space();
        if (at_ < line_.size() && line_[at_] == '"') {
            out.is_string = true;
            return string(out.text);
        }
        const std::size_t from = at_;
        if (at_ < line_.size() && line_[at_] == '-') ++at_;
        const std::size_t digits_from = at_;
        while (at_ < line_.size() && line_[at_] >= '0' && line_[at_] <= '9') ++at_;
        const std::size_t digits = at_ - digits_from;
        if (digits == 0 || digits > 18 || (digits > 1 && line_[digits_from] == '0')) return false;
        out = {line_.substr(from, at_ - from), false};
        return true;
    }

private:
    void skip_space() {
        while (at_ < line_.size() &&
               (line_[at_] == ' ' || line_[at_] == '\t' || line_[at_] == '\r' || line_[at_] == '\n'))
            ++at_;
    }

    std::string_view line_;
    std::size_t at_ = 0;
};

// The keys read_batch_line looks at: the text fields (their index in kBirthTextFields), then these.
constexpr std::size_t kPlace = std::size(kBirthTextFields), kNow = kPlace + 1, kStamp = kPlace + 2;
constexpr std::size_t kReadKeys = kStamp + 1;

/// The index of a key read_batch_line looks at, or kReadKeys for any other key.
std::size_t key_index(std::string_view key) {
    for (std::size_t k = 0; k < std::size(kBirthTextFields); ++k) {
        if (key == kBirthTextFields[k].first) return k;
    }
    if (key == "place") return kPlace;
    if (key == "now") return kNow;
    if (key == "stamp") return kStamp;
    return kReadKeys;
}

} // namespace

std::optional<TypedRequest> read_plain_batch_line(std::string_view line) {
    if (line.size() > kMaxBatchLineBytes) return std::nullopt;
    std::array<std::optional<PlainValue>, kReadKeys> found;
    PlainCursor in(line);
    if (!in.take('{')) return std::nullopt;
    do {
        std::string_view key;
        PlainValue value;
        if (!in.string(key) || !in.take(':') || !in.value(value)) return std::nullopt;
        if (key == "rules") return std::nullopt; // chosen rules are read by the JSON reading
        const std::size_t index = key_index(key);
        if (index == kReadKeys) continue; // another key, ignored as the JSON reading ignores it
        // The JSON reading keeps a repeated key's last value, yet a negative zero from any of them.
        if (found[index]) return std::nullopt;
        found[index] = value;
    } while (in.take(','));
    if (!in.take('}') || !in.at_end()) return std::nullopt;

    const auto is_text = [&found](std::size_t index) { return found[index] && found[index]->is_string; };
    const bool by_place = found[kPlace].has_value();
    if (by_place && !is_text(kPlace)) return std::nullopt;
    TypedRequest raw;
    for (std::size_t k = 0; k < std::size(kBirthTextFields); ++k) {
        // Every field is given, except the offsets when a place stands for them: then they are not.
        const bool wanted = !by_place || k < kBirthTextFieldsWithPlace;
        if (found[k].has_value() != wanted) return std::nullopt;
        if (wanted) raw.birth.*kBirthTextFields[k].second = found[k]->text;
    }
    if (by_place) {
        raw.birth.place = found[kPlace]->text;
        raw.birth.offset_minutes.clear(); // the place's, looked up when checked
        raw.birth.offset_seconds.clear();
    }
    if (!is_text(kNow) || (found[kStamp] && !is_text(kStamp))) return std::nullopt;
    raw.now = found[kNow]->text;
    if (found[kStamp]) raw.stamp = found[kStamp]->text;
    return raw;
}

} // namespace vantora::request
