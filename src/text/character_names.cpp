// SPDX-License-Identifier: GPL-3.0-or-later

#include "character_names.h"

#include "utf8.h"
#include "windows_1252.h"

#include "i18n/fill.h"
#include "i18n/marks.h"

#include <cstdio>

namespace tarvex::text::charset {

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
    // Controls and direction marks would garble a one-line message; name them by number only.
    if (!showsAsItself(ch)) return hex;
    std::string itself;
    appendUtf8(itself, ch);
    /* TRANSLATORS: a character named in a message: {character} is the
       character itself, in the quotation marks of your language, {number} its
       Unicode number (U+00E9). */
    return i18n::fill(_("'{character}' ({number})"), {{"character", itself}, {"number", hex}});
}

std::string describeCode(std::uint8_t code) {
    /* TRANSLATORS: a character of the Windows-1252 set named in a message:
       {character} is the character as "'é' (U+00E9)" names it, {code} its code
       in the set, 0 to 255. */
    return i18n::fill(_("{character} of code {code}"),
                      {{"character", describeCharacter(toUnicode(code))}, {"code", std::to_string(code)}});
}

} // namespace tarvex::text::charset
