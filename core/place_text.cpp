#include "core/place_text.hpp"

#include <optional>

namespace vantora {
namespace {

constexpr std::string_view kKe = "\xE3\x82\xB1"; // ケ U+30B1

/// The three bytes of a UTF-8 character U+0800..U+FFFF at text[pos], or nullopt.
std::optional<char32_t> three_byte_char(std::string_view text, std::size_t pos) {
    if (pos + 3 > text.size()) return std::nullopt;
    const auto b0 = static_cast<unsigned char>(text[pos]);
    const auto b1 = static_cast<unsigned char>(text[pos + 1]);
    const auto b2 = static_cast<unsigned char>(text[pos + 2]);
    if ((b0 & 0xF0) != 0xE0 || (b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) return std::nullopt;
    return static_cast<char32_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
}

} // namespace

void append_folded_place_text(std::string& out, std::string_view text) {
    // Only blanks, controls and characters led by C2, E3 or EF can fold; runs of others are copied.
    const auto plain = [](unsigned char b) {
        return b > 0x20 && b != 0x7F && b != 0xC2 && b != 0xE3 && b != 0xEF;
    };
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t run = pos;
        while (run < text.size() && plain(static_cast<unsigned char>(text[run]))) ++run;
        out.append(text.substr(pos, run - pos));
        pos = run;
        if (pos == text.size()) return;
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte <= 0x20 || byte == 0x7F) { // ASCII blank or control character
            ++pos;
            continue;
        }
        if (byte == 0xC2 && pos + 1 < text.size() && static_cast<unsigned char>(text[pos + 1]) == 0xA0) {
            pos += 2; // no-break space
            continue;
        }
        if (const auto c = three_byte_char(text, pos)) {
            if (*c == U'\u3000') {
                // ideographic space: dropped
            } else if (*c >= U'\uFF10' && *c <= U'\uFF19') {
                out.push_back(static_cast<char>('0' + (*c - U'\uFF10')));
            } else if (*c >= U'\uFF21' && *c <= U'\uFF3A') {
                out.push_back(static_cast<char>('A' + (*c - U'\uFF21')));
            } else if (*c >= U'\uFF41' && *c <= U'\uFF5A') {
                out.push_back(static_cast<char>('a' + (*c - U'\uFF41')));
            } else if (*c == U'\u30F6' || *c == U'\u304C') { // ヶ, が
                out.append(kKe);
            } else {
                out.append(text.substr(pos, 3));
            }
            pos += 3;
            continue;
        }
        out.push_back(text[pos++]);
    }
}

std::string fold_place_text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    append_folded_place_text(out, text);
    return out;
}

} // namespace vantora
