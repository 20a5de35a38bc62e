// SPDX-License-Identifier: GPL-3.0-or-later

// The 32-byte paths of charset.h's conversions, for processors with AVX2; they
// run only where text::availablePaths() names AVX2.

#include "charset_paths.h"

#include "core/target_region.h"

#include <cstdint>

#if defined(__x86_64__)

#include <immintrin.h>

TARVEX_TARGET_BEGIN("avx2")

namespace tarvex::text::charset::paths {
namespace {

// A byte shuffle picks, out of eight codes interleaved with their second
// UTF-8 bytes, the first byte of each and the second of those above 0x7F.
// Indexed by which of the eight are above 0x7F.
struct WidenTable {
    alignas(16) std::uint8_t picks[256][16]{};
    std::uint8_t size[256]{};

    constexpr WidenTable() {
        for (unsigned high = 0; high < 256; ++high) {
            unsigned k = 0;
            for (unsigned b = 0; b < 8; ++b) {
                picks[high][k++] = static_cast<std::uint8_t>(2 * b);
                if ((high >> b) & 1u) picks[high][k++] = static_cast<std::uint8_t>(2 * b + 1);
            }
            size[high] = static_cast<std::uint8_t>(k);
            while (k < 16) picks[high][k++] = 0x80; // zero, past the end anyway
        }
    }
};
constexpr WidenTable kWiden;

// A byte shuffle moves the kept ones of eight bytes to the front. Indexed by
// which of the eight are kept; `high` is the same for the upper eight of
// sixteen.
struct NarrowTable {
    std::uint64_t low[256]{};
    std::uint64_t high[256]{};
    std::uint8_t size[256]{};

    constexpr NarrowTable() {
        for (unsigned kept = 0; kept < 256; ++kept) {
            std::uint64_t lowPicks = 0;
            std::uint64_t highPicks = 0;
            unsigned k = 0;
            for (unsigned b = 0; b < 8; ++b) {
                if (((kept >> b) & 1u) == 0) continue;
                lowPicks |= std::uint64_t{b} << (8 * k);
                highPicks |= std::uint64_t{b + 8} << (8 * k);
                ++k;
            }
            size[kept] = static_cast<std::uint8_t>(k);
            for (unsigned rest = k; rest < 8; ++rest) {
                lowPicks |= std::uint64_t{0x80} << (8 * rest);
                highPicks |= std::uint64_t{0x80} << (8 * rest);
            }
            low[kept] = lowPicks;
            high[kept] = highPicks;
        }
    }
};
constexpr NarrowTable kNarrow;

__m256i load32(const unsigned char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

__m256i splat(unsigned char byte) {
    return _mm256_set1_epi8(static_cast<char>(byte));
}

unsigned mask32(__m256i bytes) {
    return static_cast<unsigned>(_mm256_movemask_epi8(bytes));
}

__m128i load16(const std::uint8_t* p) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(p));
}

void store16(char* p, __m128i bytes) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), bytes);
}

void store8(char* p, __m128i bytes) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), bytes);
}

} // namespace

// Every block goes the same way whatever it holds: no branch on where the
// codes above 0x7F are, which text puts at random. Codes 0x80-0x9F take three
// bytes; a block with one of them goes the 16-byte way.
std::size_t writeAvx2(const unsigned char* s, std::size_t n, char* out) {
    std::size_t i = 0;
    char* to = out;
    while (n - i >= 32) {
        const __m256i codes = load32(s + i);
        if (mask32(_mm256_cmpeq_epi8(_mm256_and_si256(codes, splat(0xE0)), splat(0x80))) != 0) {
            to += writeBlocks(s + i, 32, to);
            i += 32;
            continue;
        }
        const unsigned high = mask32(codes);
        const __m256i isHigh = _mm256_cmpgt_epi8(_mm256_setzero_si256(), codes);
        // 0xC2 or 0xC3 for the codes above 0x7F, the code itself for the rest.
        const __m256i lead = _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi16(codes, 6), splat(0x03)), splat(0xC0));
        const __m256i first = _mm256_blendv_epi8(codes, lead, isHigh);
        const __m256i second = _mm256_or_si256(_mm256_and_si256(codes, splat(0x3F)), splat(0x80));
        // Within each 128-bit lane: codes 0-7 and 16-23 below, 8-15 and 24-31 above.
        const __m256i below = _mm256_unpacklo_epi8(first, second);
        const __m256i above = _mm256_unpackhi_epi8(first, second);
        const unsigned h0 = high & 0xFF, h1 = (high >> 8) & 0xFF, h2 = (high >> 16) & 0xFF, h3 = high >> 24;
        const __m256i belowPicked = _mm256_shuffle_epi8(
            below, _mm256_set_m128i(load16(kWiden.picks[h2]), load16(kWiden.picks[h0])));
        const __m256i abovePicked = _mm256_shuffle_epi8(
            above, _mm256_set_m128i(load16(kWiden.picks[h3]), load16(kWiden.picks[h1])));
        store16(to, _mm256_castsi256_si128(belowPicked));
        to += kWiden.size[h0];
        store16(to, _mm256_castsi256_si128(abovePicked));
        to += kWiden.size[h1];
        store16(to, _mm256_extracti128_si256(belowPicked, 1));
        to += kWiden.size[h2];
        store16(to, _mm256_extracti128_si256(abovePicked, 1));
        to += kWiden.size[h3];
        i += 32;
    }
    return static_cast<std::size_t>(to - out) + writeBlocks(s + i, n - i, to);
}

// The same characters as decodeCommon, 32 bytes at a time and with no branch
// on where they are: a block of ASCII and whole characters U+00A0-U+00FF turns
// into codes by dropping every second byte and putting the code in the first.
// Any other block is left to the 16-byte blocks, which find what stops them.
void decodeCommonAvx2(const unsigned char* s, std::size_t n, std::size_t& at, char*& to) {
    std::size_t i = at;
    char* o = to;
    unsigned carried = 0; // the block starts with the second byte of a character written already
    while (n - i > 32) {
        const __m256i bytes = load32(s + i);
        const __m256i next = load32(s + i + 1);
        const __m256i isLead = _mm256_cmpeq_epi8(_mm256_or_si256(bytes, splat(0x01)), splat(0xC3));
        const unsigned leads = mask32(isLead);
        const unsigned nextContinues = mask32(_mm256_cmpeq_epi8(_mm256_and_si256(next, splat(0xC0)), splat(0x80)));
        // C2 80 to C2 9F are C1 controls, mostly outside the set.
        const unsigned controls = mask32(_mm256_and_si256(_mm256_cmpeq_epi8(bytes, splat(0xC2)),
                                                          _mm256_cmpeq_epi8(_mm256_and_si256(next, splat(0xE0)), splat(0x80))));
        const unsigned seconds = (leads << 1) | carried;
        if (mask32(bytes) != (leads | seconds) || (leads & ~nextContinues) != 0 || controls != 0) break;

        const __m256i code = _mm256_or_si256(
            _mm256_or_si256(splat(0x80), _mm256_and_si256(_mm256_slli_epi16(bytes, 6), splat(0x40))),
            _mm256_and_si256(next, splat(0x3F)));
        const __m256i codes = _mm256_blendv_epi8(bytes, code, isLead);
        const unsigned kept = ~seconds;
        const unsigned k0 = kept & 0xFF, k1 = (kept >> 8) & 0xFF, k2 = (kept >> 16) & 0xFF, k3 = kept >> 24;
        const __m256i picks = _mm256_set_epi64x(static_cast<long long>(kNarrow.high[k3]),
                                                static_cast<long long>(kNarrow.low[k2]),
                                                static_cast<long long>(kNarrow.high[k1]),
                                                static_cast<long long>(kNarrow.low[k0]));
        const __m256i packed = _mm256_shuffle_epi8(codes, picks);
        const __m128i lower = _mm256_castsi256_si128(packed);
        const __m128i upper = _mm256_extracti128_si256(packed, 1);
        store8(o, lower);
        o += kNarrow.size[k0];
        store8(o, _mm_unpackhi_epi64(lower, lower));
        o += kNarrow.size[k1];
        store8(o, upper);
        o += kNarrow.size[k2];
        store8(o, _mm_unpackhi_epi64(upper, upper));
        o += kNarrow.size[k3];
        carried = leads >> 31;
        i += 32;
    }
    at = i + carried;
    to = o;
}

} // namespace tarvex::text::charset::paths

TARVEX_TARGET_END

#endif

