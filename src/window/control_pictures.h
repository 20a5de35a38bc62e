// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cstddef>
#include <string_view>

namespace tarvex::window {

// How the message area shows a character that no font can be trusted to draw,
// and how a screen reader reads it: one table for both, keyed by the Unicode
// character, so that what is seen and what is heard never part.
struct ControlPicture {
    // Drawn in a frame ("NUL", "CR", "PAD"); empty when the stand-in is drawn plainly.
    std::u16string_view name;
    // What a screen reader says, in brackets, in English ("null"); empty when
    // it reads the stand-in. controlWords() gives it in the session's language.
    std::string_view words;
    // Drawn in its place; in a row shaped whole it holds the frame's room.
    char16_t standIn;
};

// The C0 and C1 controls but tab (a lone CR or LF too: only CR LF breaks a
// line), DEL, and the soft hyphen, which would show only at a wrap; nullptr
// for every character shown and read as itself.
const ControlPicture* controlPictureOf(char32_t ch);

// The longest reading of a control, its brackets included, in UTF-16 units:
// a message of nothing but controls must still count its reading in an int.
inline constexpr std::size_t kLongestControlReading = 31;

// The words of `picture` in the session's language; the English ones where
// the translation would make a reading longer than kLongestControlReading.
QString controlWords(const ControlPicture& picture);

} // namespace tarvex::window
