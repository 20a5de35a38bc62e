// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// The message text is a sequence of single-byte codes whose line breaks are
// CR LF. The message area shows it with CR LF pairs as line breaks and every
// other control code as a visible picture, so that any code survives a round
// trip through the view.
namespace tarvex::window::codec {

// The character that shows one code (never a line break).
char16_t displayCharacter(unsigned char code);

// Text from outside the window (typed, pasted, dropped): LF, CR LF, a lone CR
// and the Unicode line separators become CR LF; a character without a code
// becomes '?'.
std::string codesFromForeignText(QStringView text);

// Text from outside the window with every line break as above made CR LF.
QString lineBreaksUnified(QStringView text);

// Text from outside the window as the area's UTF-8: every line break as above
// becomes CR LF, every other character stays.
std::string textFromForeignText(QStringView text);

// Codes as plain Unicode for other programs, CR LF kept.
QString unicodeFromCodes(std::string_view codes);

// A code that no font can be trusted to draw: the C0 controls but tab, DEL and
// the five codes the character set leaves as C1 controls. The view draws its
// abbreviation in a frame; a screen reader reads its words.
struct ControlName {
    std::string_view abbreviation; // "NUL", "CR"
    std::string_view words;        // "null", "carriage return"
};
// Empty names for every other code.
ControlName controlName(unsigned char code);

} // namespace tarvex::window::codec
