// SPDX-License-Identifier: GPL-3.0-or-later

#include "utf8.h"

namespace tarvex::text::charset {

std::size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

std::optional<char32_t> decodeUtf8Sequence(const unsigned char* s, std::size_t length) {
    char32_t ch = 0;
    switch (length) {
    case 1: return s[0];
    case 2: ch = s[0] & 0x1Fu; break;
    case 3: ch = s[0] & 0x0Fu; break;
    default: ch = s[0] & 0x07u; break;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xC0u) != 0x80u) return std::nullopt;
        ch = (ch << 6) | (s[i] & 0x3Fu);
    }
    if ((length == 3 && ch < 0x800) || (length == 4 && ch < 0x10000)) return std::nullopt;
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return std::nullopt;
    return ch;
}

Utf8Character firstUtf8Character(std::string_view text) {
    if (text.empty()) return {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = utf8SequenceLength(bytes[0]);
    if (size == 0 || size > text.size()) return {};
    const std::optional<char32_t> ch = decodeUtf8Sequence(bytes, size);
    if (!ch) return {};
    return {size, *ch};
}

std::size_t malformedUtf8At(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t size = firstUtf8Character(bytes.substr(i)).size;
        if (size == 0) return i + 1;
        i += size;
    }
    return 0;
}

void appendUtf8(std::string& out, char32_t ch) {
    if (ch < 0x80) {
        out.push_back(static_cast<char>(ch));
    } else if (ch < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (ch >> 6)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else if (ch < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (ch >> 12)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (ch >> 18)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
}

} // namespace tarvex::text::charset
