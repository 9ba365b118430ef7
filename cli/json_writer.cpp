#include "cli/json_writer.hpp"

#include <nlohmann/json.hpp>

#include <array>
#include <charconv>
#include <cmath>

namespace vantora::cli {
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

} // namespace

void JsonWriter::key(std::string_view name) {
    if (need_comma_) out_.push_back(',');
    write_string(name);
    out_.push_back(':');
    need_comma_ = false;
}

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
    // keeps every digit as dump() writes it.
    std::array<char, 64> buffer;
    const char* end = nlohmann::detail::to_chars(buffer.data(), buffer.data() + buffer.size(), x);
    out_.append(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
}

void JsonWriter::write_signed(long long n) {
    std::array<char, 24> buffer;
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), n).ptr;
    out_.append(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
}

void JsonWriter::write_unsigned(unsigned long long n) {
    std::array<char, 24> buffer;
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), n).ptr;
    out_.append(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
}

void JsonWriter::write_string(std::string_view text) {
    const std::size_t start = out_.size();
    out_.push_back('"');
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* plain_from = begin; // bytes from here on are copied as they are
    for (const char* p = begin; p < end;) {
        const auto c = static_cast<unsigned char>(*p);
        const ByteClass kind = kByteClass[c];
        if (kind == plain) {
            ++p;
            continue;
        }
        if (kind == common_lead && end - p > 2 && (static_cast<unsigned char>(p[1]) & 0xC0) == 0x80 &&
            (static_cast<unsigned char>(p[2]) & 0xC0) == 0x80) {
            p += 3; // most characters of the chart's texts: kana and kanji
            continue;
        }
        if (kind != escape) {
            const std::size_t length = utf8_sequence_length(text, static_cast<std::size_t>(p - begin));
            if (length == 0) {
                // Rare (the program's texts and parsed JSON are valid UTF-8): let dump() decide how
                // the bad bytes are replaced.
                out_.resize(start);
                out_.append(nlohmann::json(std::string(text))
                                .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
                return;
            }
            p += length;
            continue;
        }
        out_.append(plain_from, p);
        switch (c) {
        case '"':
            out_.append("\\\"");
            break;
        case '\\':
            out_.append("\\\\");
            break;
        case '\b':
            out_.append("\\b");
            break;
        case '\f':
            out_.append("\\f");
            break;
        case '\n':
            out_.append("\\n");
            break;
        case '\r':
            out_.append("\\r");
            break;
        case '\t':
            out_.append("\\t");
            break;
        default: {
            static constexpr char kHex[] = "0123456789abcdef";
            const char escaped[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
            out_.append(escaped, sizeof escaped);
        }
        }
        plain_from = ++p;
    }
    out_.append(plain_from, end);
    out_.push_back('"');
}

} // namespace vantora::cli
