#include "format/utf8.h"

#include <cstdio>

namespace korvane {

std::string Utf8Encode(char32_t code) {
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

std::optional<Utf8Character> Utf8Decode(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length;
    char32_t code;
    if (lead < 0x80) return Utf8Character{1, lead};
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (text.size() < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF) return std::nullopt;
    return Utf8Character{length, code};
}

bool IsControl(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code < 0xA0);
}

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto decoded = Utf8Decode(text);
        char escape[8];
        if (!decoded || decoded->code < 0x80) {
            const auto byte = static_cast<unsigned char>(text.front());
            text.remove_prefix(1);
            if (decoded && !IsControl(byte)) {
                out += static_cast<char>(byte);
                continue;
            }
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
        } else {
            const auto character = text.substr(0, decoded->length);
            text.remove_prefix(decoded->length);
            if (!IsControl(decoded->code)) {
                out += character;
                continue;
            }
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(decoded->code));
        }
        out += escape;
    }
    return out;
}

std::string QuoteShort(std::string_view text) {
    std::size_t end = 0;
    for (std::size_t count = 0; count < kQuotedCharacters && end < text.size(); ++count) {
        const auto decoded = Utf8Decode(text.substr(end));
        end += decoded ? decoded->length : 1;
    }
    // Cut first, so an escape is never cut in half.
    return EscapeControls(text.substr(0, end)) + (end == text.size() ? "" : "…");
}

}  // namespace korvane
