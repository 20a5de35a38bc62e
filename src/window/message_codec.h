// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// The message text is Unicode whose line breaks are CR LF. The message area
// shows CR LF pairs as line breaks and every other control code as a visible
// picture or a framed name, so that any character survives a round trip
// through the view.
namespace tarvex::window::codec {

// The character that shows one code of the set (never a line break); below
// 0x80 and from 0xA0 on, a code is also the number of its character.
char16_t displayCharacter(unsigned char code);

// Text from outside the window (typed, pasted, dropped) with every line break
// (LF, CR LF, a lone CR, the Unicode line and paragraph separators) made CR LF.
QString lineBreaksUnified(QStringView text);

// The same as the area's UTF-8.
std::string textFromForeignText(QStringView text);

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
