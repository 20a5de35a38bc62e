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

// Where the first and where the second byte of each pair stands among 64
// interleaved bytes, as a compress mask.
inline constexpr unsigned long long kFirstOfPairs = 0x5555555555555555ull;
inline constexpr unsigned long long kSecondOfPairs = 0xAAAAAAAAAAAAAAAAull;

// Writes the 64 pairs of `first` and `second` (first[0], second[0], first[1],
// ...): the byte of every pair that `always` marks (kFirstOfPairs or
// kSecondOfPairs), the other one only where bit k of `chosen` is set for pair
// k. Stores 64 bytes a half whatever it keeps; returns where the next byte goes.
inline char* writePairs(__m512i first, __m512i second, unsigned long long always, unsigned long long chosen, char* to) {
    const __m512i lower = _mm512_permutex2var_epi8(first, _mm512_load_si512(kInterleave.lower), second);
    const __m512i upper = _mm512_permutex2var_epi8(first, _mm512_load_si512(kInterleave.upper), second);
    const unsigned long long keepLower = always | _pdep_u64(chosen & 0xFFFFFFFFull, ~always);
    const unsigned long long keepUpper = always | _pdep_u64(chosen >> 32, ~always);
    _mm512_storeu_si512(to, _mm512_maskz_compress_epi8(keepLower, lower));
    to += _mm_popcnt_u64(keepLower);
    _mm512_storeu_si512(to, _mm512_maskz_compress_epi8(keepUpper, upper));
    return to + _mm_popcnt_u64(keepUpper);
}

} // namespace tarvex::text::avx512

TARVEX_TARGET_END

#endif
