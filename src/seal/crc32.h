// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/instruction_set.h"

#include <cstddef>
#include <cstdint>

namespace tarvex::seal {

// CRC-32 as zlib and PNG compute it; start with 0 and feed pieces in order.
// On the fastest path of seal_paths.h unless one is named.
std::uint32_t crc32Update(std::uint32_t crc, const std::uint8_t* bytes, std::size_t size);
std::uint32_t crc32Update(std::uint32_t crc, const std::uint8_t* bytes, std::size_t size, simd::Path path);

} // namespace tarvex::seal
