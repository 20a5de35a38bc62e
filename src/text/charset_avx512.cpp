// SPDX-License-Identifier: GPL-3.0-or-later

// The 64-byte paths of charset.h's conversions, for processors with AVX-512
// and its byte compress; they run only where text::availablePaths() names it.

#include "charset_paths.h"

#include "core/target_region.h"
#include "text/avx512_bytes.h"

#include <cstdint>

#if defined(__x86_64__)

#include <immintrin.h>

TARVEX_TARGET_BEGIN(TARVEX_AVX512_FEATURES)

namespace tarvex::text::charset::paths {
namespace {

using text::avx512::splat64;

} // namespace

// Sixty-four codes at once. Their first UTF-8 bytes (the code itself for ASCII)
// and second bytes are interleaved in pairs, and the compress keeps the first
// of every pair and the second of those above 0x7F. A block with a code of
// 0x80-0x9F, which takes three bytes, goes the 16-byte way.
std::size_t writeAvx512(const unsigned char* s, std::size_t n, char* out) {
    std::size_t i = 0;
    char* to = out;
    while (n - i >= 64) {
        const __m512i codes = _mm512_loadu_si512(s + i);
        if (_mm512_cmpeq_epi8_mask(_mm512_and_si512(codes, splat64(0xE0)), splat64(0x80)) != 0) {
            to += writeBlocks(s + i, 64, to);
            i += 64;
            continue;
        }
        const unsigned long long high = _mm512_movepi8_mask(codes);
        const __m512i lead = _mm512_or_si512(_mm512_and_si512(_mm512_srli_epi16(codes, 6), splat64(0x03)), splat64(0xC0));
        const __m512i first = _mm512_mask_blend_epi8(high, codes, lead);
        const __m512i second = _mm512_or_si512(_mm512_and_si512(codes, splat64(0x3F)), splat64(0x80));
        to = text::avx512::writePairs(first, second, text::avx512::kFirstOfPairs, high, to);
        i += 64;
    }
    return static_cast<std::size_t>(to - out) + writeBlocks(s + i, n - i, to);
}

// As decodeCommonAvx2, 64 bytes at a time, with a compress to drop the second
// bytes.
void decodeCommonAvx512(const unsigned char* s, std::size_t n, std::size_t& at, char*& to) {
    std::size_t i = at;
    char* o = to;
    unsigned long long carried = 0;
    while (n - i > 64) {
        const __m512i bytes = _mm512_loadu_si512(s + i);
        const __m512i next = _mm512_loadu_si512(s + i + 1);
        const unsigned long long leads = _mm512_cmpeq_epi8_mask(_mm512_or_si512(bytes, splat64(0x01)), splat64(0xC3));
        const unsigned long long nextContinues =
            _mm512_cmpeq_epi8_mask(_mm512_and_si512(next, splat64(0xC0)), splat64(0x80));
        const unsigned long long controls = _mm512_cmpeq_epi8_mask(bytes, splat64(0xC2)) &
                                            _mm512_cmpeq_epi8_mask(_mm512_and_si512(next, splat64(0xE0)), splat64(0x80));
        const unsigned long long seconds = (leads << 1) | carried;
        if (_mm512_movepi8_mask(bytes) != (leads | seconds) || (leads & ~nextContinues) != 0 || controls != 0) break;

        const __m512i code = _mm512_or_si512(
            _mm512_or_si512(splat64(0x80), _mm512_and_si512(_mm512_slli_epi16(bytes, 6), splat64(0x40))),
            _mm512_and_si512(next, splat64(0x3F)));
        const __m512i codes = _mm512_mask_blend_epi8(leads, bytes, code);
        const unsigned long long kept = ~seconds;
        _mm512_storeu_si512(o, _mm512_maskz_compress_epi8(kept, codes));
        o += _mm_popcnt_u64(kept);
        carried = leads >> 63;
        i += 64;
    }
    at = i + carried;
    to = o;
}

} // namespace tarvex::text::charset::paths

TARVEX_TARGET_END

#endif
