// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "secret/string.h"

namespace tarvex::cipher {

inline constexpr std::size_t kPairsPerLine = 27;

// The key file's bytes: each key byte as two capital hex digits, 27 pairs to a
// line, then a final line with the rest (empty when the count divides by 27);
// every line, the final one too, ends with CR LF.
secret::String formatKeyFile(std::span<const std::uint8_t> keyBytes);

} // namespace tarvex::cipher
