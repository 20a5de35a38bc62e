// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Sixteen bytes of text tested at once, so the common bytes of a run cost a
// fraction of a branch each and only the rare ones are looked at one by one.
namespace tarvex::blocks {

inline constexpr std::size_t kBlockSize = 16;

// Bit k is set when p[k] is above 0x7F.
inline unsigned highBytes(const unsigned char* p) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<unsigned>(_mm_movemask_epi8(block));
#else
    unsigned mask = 0;
    for (std::size_t k = 0; k < kBlockSize; ++k) mask |= static_cast<unsigned>(p[k] >> 7) << k;
    return mask;
#endif
}

// Bit k is set when p[k] is `value`.
inline unsigned bytesEqualTo(const unsigned char* p, unsigned char value) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(value));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)));
#else
    unsigned mask = 0;
    for (std::size_t k = 0; k < kBlockSize; ++k) mask |= static_cast<unsigned>(p[k] == value) << k;
    return mask;
#endif
}

// One block from `from` to `to`; the two must not overlap.
inline void copyBlock(void* to, const void* from) {
    std::memcpy(to, from, kBlockSize);
}

} // namespace tarvex::blocks
