// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>

// How a message names a character, in the session's language.
namespace tarvex::text::charset {

// Whether a terminal shows `ch` as itself: not a control, not an invisible
// mark that changes the direction or the lines of the text around it.
bool showsAsItself(char32_t ch);
// "'é' (U+00E9)", for messages; a character that does not show as itself is
// named by its number only ("U+202E").
std::string describeCharacter(char32_t ch);
// The same for a code of the set.
std::string describeCode(std::uint8_t code);

} // namespace tarvex::text::charset
