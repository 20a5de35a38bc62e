// SPDX-License-Identifier: GPL-3.0-or-later

// CRC-32 by folding 64 bytes a step with carry-less multiplication, after
// Gopal, Ozturk et al., "Fast CRC Computation for Generic Polynomials Using
// PCLMULQDQ Instruction" (Intel, 2009), with its constants for the reflected
// polynomial 0xEDB88320.

#include "seal_vector_paths.h"

#include "core/target_region.h"

#if defined(__x86_64__)

#include <immintrin.h>

TARVEX_TARGET_BEGIN("avx2,pclmul")

namespace tarvex::seal::fast {
namespace {

[[gnu::always_inline]] inline __m128i load(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// x times the constants in k, plus next.
[[gnu::always_inline]] inline __m128i fold(__m128i x, __m128i k, __m128i next) {
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), next);
}

} // namespace

std::uint32_t crc32Folded(std::uint32_t inverted, const std::uint8_t* bytes, std::size_t size) {
    const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    const __m128i k5 = _mm_set_epi64x(0, 0x0163cd6124);
    const __m128i poly = _mm_set_epi64x(0x01f7011641, 0x01db710641);

    __m128i x1 = _mm_xor_si128(load(bytes), _mm_cvtsi32_si128(static_cast<int>(inverted)));
    __m128i x2 = load(bytes + 16), x3 = load(bytes + 32), x4 = load(bytes + 48);
    bytes += 64;
    size -= 64;
    for (; size >= 64; bytes += 64, size -= 64) {
        x1 = fold(x1, k1k2, load(bytes));
        x2 = fold(x2, k1k2, load(bytes + 16));
        x3 = fold(x3, k1k2, load(bytes + 32));
        x4 = fold(x4, k1k2, load(bytes + 48));
    }
    x1 = fold(x1, k3k4, x2);
    x1 = fold(x1, k3k4, x3);
    x1 = fold(x1, k3k4, x4);
    for (; size >= 16; bytes += 16, size -= 16) x1 = fold(x1, k3k4, load(bytes));

    // 128 bits to 64, then Barrett reduction to 32.
    const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k3k4, 0x10));
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), k5, 0x00), _mm_srli_si128(x1, 4));
    __m128i r = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), poly, 0x10);
    r = _mm_clmulepi64_si128(_mm_and_si128(r, low32), poly, 0x00);
    return static_cast<std::uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, r), 1));
}

} // namespace tarvex::seal::fast

TARVEX_TARGET_END

#endif
