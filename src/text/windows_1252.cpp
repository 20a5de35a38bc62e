// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows_1252.h"

#include <array>
#include <cstddef>

namespace tarvex::text::charset {
namespace {

// 0x80-0x9F; everything else is the code's own Latin-1 value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isC1ControlTakenBy1252(char32_t ch) {
    if (ch < 0x80 || ch > 0x9F) {
        return false;
    }
    return kHighControls[ch - 0x80] != ch;
}

} // namespace

char32_t toUnicode(std::uint8_t code) {
    if (code >= 0x80 && code <= 0x9F) {
        return kHighControls[code - 0x80];
    }
    return code;
}

std::optional<std::uint8_t> fromUnicode(char32_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        return static_cast<std::uint8_t>(ch);
    }
    if (ch <= 0x9F) {
        if (isC1ControlTakenBy1252(ch)) return std::nullopt;
        return static_cast<std::uint8_t>(ch);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == ch) {
            return static_cast<std::uint8_t>(0x80 + i);
        }
    }
    return std::nullopt;
}

} // namespace tarvex::text::charset
