// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace tarvex::cipher {

// First code of every cipher text.
inline constexpr std::uint8_t kMarker = 240;

// What tab, line feed and carriage return become, whatever the key number.
inline constexpr std::uint8_t kTabCode = 255;
inline constexpr std::uint8_t kLineFeedCode = 254;
inline constexpr std::uint8_t kCarriageReturnCode = 253;

// Printable codes 32..122 step around a ring of 91.
inline constexpr std::uint8_t kRingFirst = 32;
inline constexpr std::uint8_t kRingLast = 122;
inline constexpr std::uint8_t kRingSize = kRingLast - kRingFirst + 1;

} // namespace tarvex::cipher
