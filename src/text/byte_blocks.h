// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <bit>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Sixteen bytes of text tested at once, so the common bytes of a run cost a
// fraction of a branch each and only the rare ones are looked at one by one.
namespace tarvex::text::blocks {

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

// Copies the blocks of s from i on to o while two blocks remain, so that a
// patch may read into the next block. After each block's copy, for every byte
// of it that `marked(block)` (a mask as above) selects, in order, calls
// patch(from, to) with that byte and its place in the output, which lies
// behind by what earlier patches added or dropped; the patch writes there and
// returns how many bytes it added (or, negative, dropped). Leaves i and o
// after the last block.
template <class Marked, class Patch>
void copyBlocksPatching(const unsigned char* s, std::size_t n, std::size_t& i, char*& o, Marked marked, Patch patch) {
    while (n - i >= 2 * kBlockSize) {
        unsigned found = marked(s + i);
        copyBlock(o, s + i);
        std::ptrdiff_t shift = 0;
        while (found != 0) {
            const auto j = static_cast<std::size_t>(std::countr_zero(found));
            found &= found - 1;
            shift += patch(s + i + j, o + static_cast<std::ptrdiff_t>(j) + shift);
        }
        i += kBlockSize;
        o += static_cast<std::ptrdiff_t>(kBlockSize) + shift;
    }
}

} // namespace tarvex::text::blocks
