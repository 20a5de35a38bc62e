// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the 64-byte text paths of charset_avx512.cpp and line_breaks.cpp share.

#if defined(__x86_64__)

#include "core/target_region.h"

#include <cstdint>
#include <immintrin.h>

namespace tarvex::text::avx512 {

// For a two-table byte permute of vectors a and b: byte k of a then byte k of
// b, for bytes 0-31 (`lower`) or 32-63 (`upper`).
struct InterleaveTable {
    alignas(64) std::uint8_t lower[64]{};
    alignas(64) std::uint8_t upper[64]{};

    constexpr InterleaveTable() {
        for (unsigned k = 0; k < 32; ++k) {
            lower[2 * k] = static_cast<std::uint8_t>(k);
            lower[2 * k + 1] = static_cast<std::uint8_t>(64 + k);
            upper[2 * k] = static_cast<std::uint8_t>(32 + k);
            upper[2 * k + 1] = static_cast<std::uint8_t>(96 + k);
        }
    }
};
inline constexpr InterleaveTable kInterleave;

} // namespace tarvex::text::avx512

// Built for AVX-512 wherever it is included, so every copy is alike.
TARVEX_TARGET_BEGIN(TARVEX_AVX512_FEATURES)

namespace tarvex::text::avx512 {

inline __m512i splat64(unsigned char byte) {
    return _mm512_set1_epi8(static_cast<char>(byte));
}

} // namespace tarvex::text::avx512

TARVEX_TARGET_END

#endif
