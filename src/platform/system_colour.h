// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>
#include <optional>

// Colours are 32-bit values; a set high bit marks a system colour whose index
// is in the low byte. The platform's palette stands in for the system colours.
namespace tarvex::platform {

inline constexpr std::uint32_t kSystemColourFlag = 0x80000000u;

inline constexpr std::uint32_t kMenuBackground = 0x80000004u;  // index 4
inline constexpr std::uint32_t kHighlightedText = 0x8000000Eu; // index 14
inline constexpr std::uint32_t kButtonFace = 0x8000000Fu;      // index 15

constexpr bool isSystemColour(std::uint32_t colour) {
    return (colour & kSystemColourFlag) != 0;
}

// The palette role that plays the part of a system colour; nullopt for a
// plain RGB value or an index the palette has no counterpart for.
std::optional<QPalette::ColorRole> paletteRoleFor(std::uint32_t colour);

// The colour to paint: a system colour through the palette, any other value
// as 0x00BBGGRR.
QColor resolveColour(std::uint32_t colour, const QPalette& palette);

// The roles that paint an entry field whose background is a system colour,
// with the text colour the palette pairs with it, so a dark palette stays
// readable: the white of highlighted text and window backgrounds is the
// palette's Base with its Text; the greys of menus and button faces are
// Window and Button with WindowText.
struct FieldRoles {
    QPalette::ColorRole background;
    QPalette::ColorRole text;
};
std::optional<FieldRoles> fieldRolesFor(std::uint32_t colour);

// Sets Base and Text of `field` in every colour group for the background
// `colour`; a plain RGB value keeps the text colour as it was.
void setFieldBackground(QPalette& field, std::uint32_t colour, const QPalette& system);

} // namespace tarvex::platform
