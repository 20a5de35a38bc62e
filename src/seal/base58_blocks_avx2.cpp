// SPDX-License-Identifier: GPL-3.0-or-later

// Whole base58 blocks with 128- and 256-bit vectors; dispatch calls these only
// where AVX2 runs. A block's 11 digits sit in a vector behind one leading zero
// digit, so that they fall into pairs and fours of digits: 0d d dd dd | dd dd.

#include "seal_vector_paths.h"

#include "core/target_region.h"

#include <cstring>

#if defined(__x86_64__)

#include <immintrin.h>

TARVEX_TARGET_BEGIN("avx2")

namespace tarvex::seal::base58::fast {
namespace {

constexpr std::uint64_t k58Pow4 = 58ull * 58 * 58 * 58;
constexpr std::uint64_t k58Pow8 = k58Pow4 * k58Pow4;

// Characters to digit values; meaningful only where digitMask says so.
[[gnu::always_inline]] inline __m128i valuesOf(__m128i c) {
    __m128i v = _mm_sub_epi8(c, _mm_set1_epi8('1'));
    v = _mm_sub_epi8(v, _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('@')), _mm_set1_epi8('A' - ':')));
    v = _mm_add_epi8(v, _mm_cmpgt_epi8(c, _mm_set1_epi8('I')));
    v = _mm_add_epi8(v, _mm_cmpgt_epi8(c, _mm_set1_epi8('O')));
    v = _mm_sub_epi8(v, _mm_and_si128(_mm_cmpgt_epi8(c, _mm_set1_epi8('`')), _mm_set1_epi8('a' - '[')));
    return _mm_add_epi8(v, _mm_cmpgt_epi8(c, _mm_set1_epi8('l')));
}

// Non-zero in every byte that is a base58 digit. The low nibble picks the rows
// of the ASCII table that hold it as a digit, the high nibble its row:
// 0x3_ holds 1-9, 0x4_ A-N without I, 0x5_ and 0x7_ the first eleven, 0x6_ a-o without l.
[[gnu::always_inline]] inline __m128i digitMask(__m128i c) {
    const __m128i byLow = _mm_setr_epi8(0x04, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0D, 0x0E, 0x0A, 0x02,
                                        0x0A, 0x0A, 0x08);
    const __m128i byHigh = _mm_setr_epi8(0, 0, 0, 0x01, 0x02, 0x04, 0x08, 0x04, 0, 0, 0, 0, 0, 0, 0, 0);
    const __m128i low = _mm_and_si128(c, _mm_set1_epi8(0x0F));
    const __m128i high = _mm_and_si128(_mm_srli_epi16(c, 4), _mm_set1_epi8(0x0F));
    return _mm_and_si128(_mm_shuffle_epi8(byLow, low), _mm_shuffle_epi8(byHigh, high));
}

// A block's value as its three groups of four digits, the first below 58^3,
// in the 64-bit lanes 0 to 2.
[[gnu::always_inline]] inline __m256i foursOf(std::uint64_t v) {
    const std::uint64_t first = v / k58Pow8;
    const std::uint64_t rest = v - first * k58Pow8;
    const std::uint64_t second = rest / k58Pow4;
    const std::uint64_t third = rest - second * k58Pow4;
    return _mm256_set_epi64x(0, static_cast<long long>(third), static_cast<long long>(second),
                             static_cast<long long>(first));
}

// The six pairs of digits of a block's fours, as 16-bit values in the low 96 bits.
[[gnu::always_inline]] inline __m128i pairsOf(__m256i fours) {
    // Each quotient here is exact for the range it gets.
    const __m256i highPairs = _mm256_srli_epi64(_mm256_mul_epu32(fours, _mm256_set1_epi64x(10213954)), 35);
    const __m256i lowPairs = _mm256_sub_epi64(fours, _mm256_mul_epu32(highPairs, _mm256_set1_epi64x(3364)));
    const __m256i pairs64 = _mm256_or_si256(highPairs, _mm256_slli_epi64(lowPairs, 16));
    return _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(pairs64, _mm256_setr_epi32(0, 2, 4, 6, 6, 6, 6, 6)));
}

// Pairs to characters, a block to each 128-bit lane: 11 characters in the low
// bytes of each.
[[gnu::always_inline]] inline __m256i charactersOfPairs(__m256i pairs) {
    const __m256i highDigits = _mm256_mulhi_epu16(pairs, _mm256_set1_epi16(1130));
    const __m256i lowDigits = _mm256_sub_epi16(pairs, _mm256_mullo_epi16(highDigits, _mm256_set1_epi16(58)));
    const __m256i v = _mm256_or_si256(highDigits, _mm256_slli_epi16(lowDigits, 8));
    __m256i c = _mm256_add_epi8(v, _mm256_set1_epi8('1'));
    c = _mm256_add_epi8(c, _mm256_and_si256(_mm256_cmpgt_epi8(v, _mm256_set1_epi8(8)), _mm256_set1_epi8('A' - ':')));
    c = _mm256_sub_epi8(c, _mm256_cmpgt_epi8(v, _mm256_set1_epi8(16)));
    c = _mm256_sub_epi8(c, _mm256_cmpgt_epi8(v, _mm256_set1_epi8(21)));
    c = _mm256_add_epi8(c, _mm256_and_si256(_mm256_cmpgt_epi8(v, _mm256_set1_epi8(32)), _mm256_set1_epi8('a' - '[')));
    c = _mm256_sub_epi8(c, _mm256_cmpgt_epi8(v, _mm256_set1_epi8(43)));
    // The leading zero digit goes.
    return _mm256_srli_si256(c, 1);
}

[[gnu::always_inline]] inline std::uint64_t bigEndianBlock(const std::uint8_t* in) {
    std::uint64_t v;
    std::memcpy(&v, in, sizeof v);
    return __builtin_bswap64(v);
}

} // namespace

void encodeBlocks(const std::uint8_t* in, std::size_t blocks, char* out) {
    // Two blocks a step. Each store writes 16 bytes, five past its block; the
    // next block covers them, and the last two go through a buffer.
    for (; blocks > 2; blocks -= 2, in += 16, out += 22) {
        const __m256i pairs = _mm256_inserti128_si256(_mm256_castsi128_si256(pairsOf(foursOf(bigEndianBlock(in)))),
                                                      pairsOf(foursOf(bigEndianBlock(in + 8))), 1);
        const __m256i text = charactersOfPairs(pairs);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(text));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 11), _mm256_extracti128_si256(text, 1));
    }
    if (blocks > 0) {
        const __m128i second = blocks == 2 ? pairsOf(foursOf(bigEndianBlock(in + 8))) : _mm_setzero_si128();
        const __m256i text = charactersOfPairs(
            _mm256_inserti128_si256(_mm256_castsi128_si256(pairsOf(foursOf(bigEndianBlock(in)))), second, 1));
        char last[32];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(last), _mm256_castsi256_si128(text));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(last + 11), _mm256_extracti128_si256(text, 1));
        std::memcpy(out, last, 11 * blocks);
    }
}

std::size_t decodeBlocks(const char* text, std::size_t blocks, std::uint8_t* out) {
    const __m128i inBlock = _mm_setr_epi8(0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0);
    const __m128i pairWeights = _mm_setr_epi8(58, 1, 58, 1, 58, 1, 58, 1, 58, 1, 58, 1, 58, 1, 58, 1);
    const __m128i fourWeights = _mm_setr_epi16(3364, 1, 3364, 1, 3364, 1, 3364, 1);
    for (std::size_t b = 0; b < blocks; ++b, text += 11, out += 8) {
        __m128i c;
        if (b + 1 < blocks) {
            c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text)); // the next block is there to read
        } else {
            char last[16] = {};
            std::memcpy(last, text, 11);
            c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(last));
        }
        c = _mm_slli_si128(c, 1);
        const __m128i notDigit = _mm_and_si128(_mm_cmpeq_epi8(digitMask(c), _mm_setzero_si128()), inBlock);
        if (!_mm_testz_si128(notDigit, notDigit)) return b;
        const __m128i values = _mm_and_si128(valuesOf(c), inBlock);
        const __m128i fours = _mm_madd_epi16(_mm_maddubs_epi16(values, pairWeights), fourWeights);
        const auto firstTwo = static_cast<std::uint64_t>(_mm_cvtsi128_si64(fours));
        const auto third = static_cast<std::uint64_t>(_mm_extract_epi32(fours, 2));
        const std::uint64_t rest = (firstTwo >> 32) * k58Pow4 + third;
        std::uint64_t high = 0, v = 0;
        if (__builtin_mul_overflow(firstTwo & 0xFFFFFFFFu, k58Pow8, &high) || __builtin_add_overflow(high, rest, &v))
            return b;
        v = __builtin_bswap64(v);
        std::memcpy(out, &v, sizeof v);
    }
    return blocks;
}

} // namespace tarvex::seal::base58::fast

TARVEX_TARGET_END

#endif
