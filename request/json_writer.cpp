#include "request/json_writer.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace vantora::request {
namespace {

/// Length of the well-formed UTF-8 sequence at text[at] (Unicode table 3-7: no overlong forms, no
/// surrogates, nothing above U+10FFFF), or 0 when the bytes there do not form one.
std::size_t utf8_sequence_length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const auto continuation = [&](std::size_t k) { return at + k < text.size() && (byte(k) & 0xC0) == 0x80; };
    const unsigned char lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!continuation(1) || !continuation(2)) return 0;
        if (lead == 0xE0 && byte(1) < 0xA0) return 0; // overlong
        if (lead == 0xED && byte(1) > 0x9F) return 0; // surrogate
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
        if (lead == 0xF0 && byte(1) < 0x90) return 0; // overlong
        if (lead == 0xF4 && byte(1) > 0x8F) return 0; // above U+10FFFF
        return 4;
    }
    return 0;
}

/// What the string scan does with a byte: copy it, escape it, take a common three-byte character
/// (lead bytes E1..EC, EE, EF: no overlong or surrogate form possible) or look closer.
enum ByteClass : unsigned char { plain, escape, common_lead, other_lead };

constexpr std::array<ByteClass, 256> kByteClass = [] {
    std::array<ByteClass, 256> table{};
    for (int c = 0; c < 256; ++c) {
        if (c < 0x20 || c == '"' || c == '\\') {
            table[c] = escape;
        } else if (c < 0x80) {
            table[c] = plain;
        } else if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF) {
            table[c] = common_lead;
        } else {
            table[c] = other_lead;
        }
    }
    return table;
}();

/// Writes the escape dump() writes for a byte below 0x20, '"' or '\\' at `out` (two or six
/// bytes) and returns the end.
char* write_escaped(char* out, unsigned char c) {
    char short_form = 0;
    switch (c) {
    case '"':
        short_form = '"';
        break;
    case '\\':
        short_form = '\\';
        break;
    case '\b':
        short_form = 'b';
        break;
    case '\f':
        short_form = 'f';
        break;
    case '\n':
        short_form = 'n';
        break;
    case '\r':
        short_form = 'r';
        break;
    case '\t':
        short_form = 't';
        break;
    default: {
        static constexpr char kHex[] = "0123456789abcdef";
        const char escaped[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
        std::memcpy(out, escaped, sizeof escaped);
        return out + sizeof escaped;
    }
    }
    out[0] = '\\';
    out[1] = short_form;
    return out + 2;
}

/// Whether a common lead byte at `p` (before `end`) has its two continuation bytes.
bool common_three_bytes(const unsigned char* p, const unsigned char* end) {
    return end - p > 2 && (p[1] & 0xC0) == 0x80 && (p[2] & 0xC0) == 0x80;
}

/// Eight bytes from `p`, in any order (they are only tested and copied together).
std::uint64_t load_word(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

/// Whether all eight bytes of `word` are printable ASCII other than '"' and '\\' (the bytes
/// kByteClass calls plain). The tests are the classic ones for "some byte is below n" and "some
/// byte is zero"; none of them can miss a byte, so a word they pass is plain.
bool all_plain(std::uint64_t word) {
    constexpr std::uint64_t ones = 0x0101010101010101, highs = 0x8080808080808080;
    const auto some_zero = [](std::uint64_t x) { return (x - ones) & ~x & highs; };
    return ((word & highs) | ((word - 0x20 * ones) & ~word & highs) | some_zero(word ^ ('"' * ones)) |
            some_zero(word ^ ('\\' * ones))) == 0;
}

/// Appends `text`, which is not valid UTF-8, as dump() writes it with error_handler_t::replace:
/// dump() itself decides how the bad bytes are replaced.
[[gnu::noinline]] void write_repaired(JsonBuffer& out, std::string_view text) {
    out.append(
        nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

} // namespace

void JsonWriter::value(std::string_view text) {
    before_value();
    write_string(text);
}

void JsonWriter::value(bool b) {
    before_value();
    out_.append(b ? "true" : "false");
}

void JsonWriter::value(std::nullptr_t) {
    before_value();
    out_.append("null");
}

void JsonWriter::value(const nlohmann::ordered_json& v) {
    before_value();
    out_.append(v.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

void JsonWriter::value(double x) {
    before_value();
    if (!std::isfinite(x)) {
        out_.append("null");
        return;
    }
    // The conversion dump() itself calls (Grisu2 with its own exponent and ".0" rules): calling it
    // keeps every digit as dump() writes it. 64 bytes hold any double it writes.
    char* const first = out_.room(64);
    out_.commit(nlohmann::detail::to_chars(first, first + 64, x));
}

void JsonWriter::write_signed(long long n) {
    char* const first = out_.room(24); // "-9223372036854775808" and more
    out_.commit(std::to_chars(first, first + 24, n).ptr);
}

void JsonWriter::write_unsigned(unsigned long long n) {
    char* const first = out_.room(24);
    out_.commit(std::to_chars(first, first + 24, n).ptr);
}

void JsonWriter::write_string(std::string_view text) {
    // At most six bytes ("\u001f") for each byte of the text, and the two quotes.
    char* out = out_.room(6 * text.size() + 2);
    *out++ = '"';
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = begin + text.size();
    const auto* in = begin;
    while (in < end) {
        const unsigned char c = *in;
        const ByteClass kind = kByteClass[c];
        if (kind == plain) {
            // A run of printable ASCII: eight bytes at a time while they are all plain.
            for (std::uint64_t word; end - in >= 8 && all_plain(word = load_word(in)); in += 8, out += 8)
                std::memcpy(out, &word, sizeof word);
            while (in < end && kByteClass[*in] == plain) *out++ = static_cast<char>(*in++);
        } else if (kind == common_lead && common_three_bytes(in, end)) {
            // A run of kana and kanji, most characters of the chart's texts.
            do {
                std::memcpy(out, in, 3);
                out += 3;
                in += 3;
            } while (in < end && kByteClass[*in] == common_lead && common_three_bytes(in, end));
        } else if (kind == escape) {
            out = write_escaped(out, c);
            ++in;
        } else {
            const auto length = utf8_sequence_length(text, static_cast<std::size_t>(in - begin));
            if (length == 0) {
                // Rare (the program's texts and parsed JSON are valid UTF-8). Nothing written so
                // far was committed.
                write_repaired(out_, text);
                return;
            }
            std::memcpy(out, in, length);
            out += length;
            in += length;
        }
    }
    *out++ = '"';
    out_.commit(out);
}

void JsonBuffer::grow(std::size_t n) {
    const std::size_t capacity = std::max(2 * capacity_, std::max<std::size_t>(size_ + n, 4096));
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
}

} // namespace vantora::request
