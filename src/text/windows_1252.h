// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <optional>

// The single-byte character set in which every character is one code 0-255:
// Windows-1252, with its five undefined bytes mapped to the C1 controls of the
// same value so that all 256 codes have a character and back.
namespace tarvex::text::charset {

char32_t toUnicode(std::uint8_t code);
std::optional<std::uint8_t> fromUnicode(char32_t ch);

} // namespace tarvex::text::charset
