// SPDX-License-Identifier: GPL-3.0-or-later

#include "character_names.h"

#include "utf8.h"
#include "windows_1252.h"

#include <cstdio>

namespace tarvex::charset {

bool showsAsItself(char32_t ch) {
    if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F)) return false;               // C0, DEL, C1
    if (ch == 0x061C || (ch >= 0x200B && ch <= 0x200F)) return false;        // direction and zero-width marks
    if ((ch >= 0x2028 && ch <= 0x202E) || (ch >= 0x2060 && ch <= 0x206F)) return false; // line breaks, overrides, isolates
    if (ch == 0xFEFF || (ch >= 0xFFF9 && ch <= 0xFFFB)) return false;
    return !(ch >= 0xD800 && ch <= 0xDFFF) && ch <= 0x10FFFF;
}

std::string describeCharacter(char32_t ch) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(ch));
    std::string text;
    // Controls and direction marks would garble a one-line message; name them by number only.
    if (showsAsItself(ch)) {
        text += '\'';
        appendUtf8(text, ch);
        text += "' ";
        text += '(';
        text += hex;
        text += ')';
    } else {
        text += hex;
    }
    return text;
}

std::string describeCode(std::uint8_t code) {
    std::string text = describeCharacter(toUnicode(code));
    text += " of code " + std::to_string(code);
    return text;
}

} // namespace tarvex::charset
