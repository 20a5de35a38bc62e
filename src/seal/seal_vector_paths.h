// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The vector paths of base58_blocks.h and crc32.h; call them only where
// sealPaths() names Path::Avx2.
namespace tarvex::seal::base58::fast {

void encodeBlocks(const std::uint8_t* in, std::size_t blocks, char* out);
std::size_t decodeBlocks(const char* text, std::size_t blocks, std::uint8_t* out);

} // namespace tarvex::seal::base58::fast

namespace tarvex::seal::fast {

// The inverted running value, as the table loop keeps it; size at least 64
// and a multiple of 16.
std::uint32_t crc32Folded(std::uint32_t inverted, const std::uint8_t* bytes, std::size_t size);

} // namespace tarvex::seal::fast
