#include "core/message_text.hpp"

#include <cerrno>

namespace vantora {

std::string system_error_text(int error_number) {
    switch (error_number) {
    case ENOENT:
        return "ファイルがありません";
    case EACCES:
    case EPERM:
        return "読み書きの許可がありません";
    case EISDIR:
        return "フォルダーです";
    case ENOTDIR:
        return "途中にフォルダーでないものがあります";
    case ENOSPC:
        return "空き領域がありません";
    case EDQUOT:
        return "ディスク使用量の上限です";
    case EPIPE:
        return "読み手が終わっています";
    case EBADF:
        return "閉じられています";
    case EIO:
        return "入出力エラーです";
    case EFBIG:
        return "ファイルが大きすぎます";
    case EROFS:
        return "読み出し専用です";
    case ENAMETOOLONG:
        return "名前が長すぎます";
    case ELOOP:
        return "シンボリックリンクが循環しています";
    case EMFILE:
    case ENFILE:
        return "開いているファイルが多すぎます";
    case ENOMEM:
        return "メモリーが足りません";
    default:
        return "エラー番号 " + std::to_string(error_number);
    }
}

std::string printable_text(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size());
    const auto escape = [&out](unsigned char c) {
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    };
    const auto continuation = [&bytes](std::size_t k) {
        return k < bytes.size() && (static_cast<unsigned char>(bytes[k]) & 0xC0) == 0x80;
    };
    for (std::size_t k = 0; k < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[k]);
        if (c == '\\') {
            out += "\\\\";
            ++k;
            continue;
        }
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
            ++k;
            continue;
        }
        // Well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF), without the C1
        // controls U+0080..U+009F.
        std::size_t length = 0;
        const auto second = k + 1 < bytes.size() ? static_cast<unsigned char>(bytes[k + 1]) : 0;
        if (c == 0xC2 && continuation(k + 1) && second >= 0xA0) {
            length = 2;
        } else if (c > 0xC2 && c <= 0xDF && continuation(k + 1)) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF && continuation(k + 1) && continuation(k + 2) &&
                   !(c == 0xE0 && second < 0xA0) && !(c == 0xED && second > 0x9F)) {
            length = 3;
        } else if (c >= 0xF0 && c <= 0xF4 && continuation(k + 1) && continuation(k + 2) &&
                   continuation(k + 3) && !(c == 0xF0 && second < 0x90) && !(c == 0xF4 && second > 0x8F)) {
            length = 4;
        }
        if (length == 0) {
            escape(c);
            ++k;
            continue;
        }
        out.append(bytes.substr(k, length));
        k += length;
    }
    return out;
}

std::string echoed_text(std::string_view bytes) {
    std::size_t characters = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        // A character begins at every byte that does not continue a UTF-8 sequence.
        if ((static_cast<unsigned char>(bytes[k]) & 0xC0) != 0x80 && characters++ == kEchoedCharacters) {
            return printable_text(bytes.substr(0, k)) + "…";
        }
    }
    return printable_text(bytes);
}

std::size_t utf8_length(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

} // namespace vantora
