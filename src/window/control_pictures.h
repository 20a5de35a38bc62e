// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string_view>

namespace tarvex::window {

// How the message area shows a character that no font can be trusted to draw,
// and how a screen reader reads it: one table for both, keyed by the Unicode
// character, so that what is seen and what is heard never part.
struct ControlPicture {
    // Drawn in a frame ("NUL", "CR", "PAD"); empty when the stand-in is drawn plainly.
    std::u16string_view name;
    // What a screen reader says, in brackets ("null"); empty when it reads the stand-in.
    std::u16string_view words;
    // Drawn in its place; in a row shaped whole it holds the frame's room.
    char16_t standIn;
};

// The C0 and C1 controls but tab (a lone CR or LF too: only CR LF breaks a
// line), DEL, and the soft hyphen, which would show only at a wrap; nullptr
// for every character shown and read as itself.
const ControlPicture* controlPictureOf(char32_t ch);

// The longest reading of a control, its brackets included.
inline constexpr std::size_t kLongestControlReading = 31;

} // namespace tarvex::window
