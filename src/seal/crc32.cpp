// SPDX-License-Identifier: GPL-3.0-or-later
#include "crc32.h"

#include "seal_vector_paths.h"
#include "seal_paths.h"

#include <array>
#include <bit>
#include <cstring>

namespace tarvex::seal {
namespace {

// Eight tables, so the loop takes eight bytes a step.
constexpr std::array<std::array<std::uint32_t, 256>, 8> makeTables() {
    std::array<std::array<std::uint32_t, 256>, 8> tables{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        tables[0][i] = c;
    }
    for (std::size_t t = 1; t < 8; ++t)
        for (std::size_t i = 0; i < 256; ++i)
            tables[t][i] = (tables[t - 1][i] >> 8) ^ tables[0][tables[t - 1][i] & 0xFF];
    return tables;
}

constexpr auto kTables = makeTables();

} // namespace

std::uint32_t crc32Update(std::uint32_t crc, const std::uint8_t* bytes, std::size_t size) {
    return crc32Update(crc, bytes, size, fastestSealPath());
}

std::uint32_t crc32Update(std::uint32_t crc, const std::uint8_t* bytes, std::size_t size, simd::Path path) {
    std::uint32_t c = ~crc;
#if defined(__x86_64__)
    if (path >= simd::Path::Avx2 && size >= 64) {
        const std::size_t folded = size & ~std::size_t{15};
        c = fast::crc32Folded(c, bytes, folded);
        bytes += folded;
        size -= folded;
    }
#endif
    (void)path;
    while (size >= 8) {
        std::uint32_t low = 0, high = 0;
        std::memcpy(&low, bytes, 4);
        std::memcpy(&high, bytes + 4, 4);
        if constexpr (std::endian::native == std::endian::big) {
            low = __builtin_bswap32(low);
            high = __builtin_bswap32(high);
        }
        low ^= c;
        c = kTables[7][low & 0xFF] ^ kTables[6][(low >> 8) & 0xFF] ^ kTables[5][(low >> 16) & 0xFF] ^
            kTables[4][low >> 24] ^ kTables[3][high & 0xFF] ^ kTables[2][(high >> 8) & 0xFF] ^
            kTables[1][(high >> 16) & 0xFF] ^ kTables[0][high >> 24];
        bytes += 8;
        size -= 8;
    }
    while (size-- > 0) c = kTables[0][(c ^ *bytes++) & 0xFF] ^ (c >> 8);
    return ~c;
}

} // namespace tarvex::seal
