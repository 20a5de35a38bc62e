// SPDX-License-Identifier: GPL-3.0-or-later

// The 32-lane path, for processors with AVX2; dispatch calls it only where AVX2 runs.

#include "transform_kernels_avx2.h"

#include "cipher_codes.h"
#include "core/target_region.h"
#include "transform_kernels.h"

#include <cstddef>
#include <cstdint>

#if defined(__x86_64__)

#include <immintrin.h>

TARVEX_TARGET_BEGIN("avx2")

#include "transform_loop.h"

namespace tarvex::cipher::kernels {
namespace {

struct Avx2Lanes {
    using Vector = __m256i;
    static constexpr std::size_t kWidth = 32;

    [[gnu::always_inline]] static Vector zero() { return _mm256_setzero_si256(); }
    [[gnu::always_inline]] static Vector splat(std::uint8_t b) { return _mm256_set1_epi8(static_cast<char>(b)); }
    [[gnu::always_inline]] static Vector load(const std::uint8_t* p) {
        return _mm256_loadu_si256(reinterpret_cast<const Vector*>(p));
    }
    [[gnu::always_inline]] static void store(std::uint8_t* p, Vector v) {
        _mm256_storeu_si256(reinterpret_cast<Vector*>(p), v);
    }
    [[gnu::always_inline]] static void stream(std::uint8_t* p, Vector v) {
        _mm256_stream_si256(reinterpret_cast<Vector*>(p), v);
    }
    [[gnu::always_inline]] static bool any(Vector v) { return _mm256_testz_si256(v, v) == 0; }

    // vpshufb looks up each lane's low four bits in a 16-entry table (one per
    // 128-bit half), and gives 0 where the index has its sign bit set.
    [[gnu::always_inline]] static Vector table(char e9, char e10, char e13, char e14, char e15) {
        return _mm256_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, e9, e10, 0, 0, e13, e14, e15, //
                                0, 0, 0, 0, 0, 0, 0, 0, 0, e9, e10, 0, 0, e13, e14, e15);
    }

    [[gnu::always_inline]] static Vector encrypt(Vector c, Vector k, Vector& failed) {
        const Vector s = _mm256_add_epi8(c, k);
        // Moved up by 5, the ring's codes 32..122 are the codes with a clear sign
        // bit that a step can carry across 127: exactly the ones that wrap.
        const Vector biased = _mm256_add_epi8(c, splat(5));
        const Vector stepped = _mm256_add_epi8(s, splat(5));
        const Vector wraps = _mm256_andnot_si256(biased, stepped); // sign bit set where a code wraps
        const Vector keep = _mm256_shuffle_epi8(splat(kRingSize), wraps); // 91, or 0 where it wraps
        const Vector r = _mm256_add_epi8(_mm256_sub_epi8(s, splat(kRingSize)), keep);
        // Tab, LF and CR: codes below 16 index the table, every other code lands
        // on the sign bit and gets 0; the special results beat any stepped code below 16.
        const Vector index = _mm256_adds_epu8(c, splat(0x70));
        const Vector special = _mm256_shuffle_epi8(
            table(static_cast<char>(kTabCode), static_cast<char>(kLineFeedCode), static_cast<char>(kCarriageReturnCode), 0, 0),
            index);
        // Moved down by 32, the controls (0..31) and 253..255 sit at 221 and
        // above, and the codes 123..252 get there exactly when their step takes
        // them onto 253 or past it; adding saturates, so nothing wraps back.
        // Tab, LF and CR have a result: their special code (253..255) clears it.
        const Vector reach = _mm256_adds_epu8(_mm256_sub_epi8(c, splat(kRingFirst)), k);
        const Vector beyond = _mm256_subs_epu8(reach, splat(kCarriageReturnCode - kRingFirst - 1));
        failed = _mm256_or_si256(failed, _mm256_subs_epu8(beyond, special));
        return _mm256_max_epu8(r, special);
    }

    [[gnu::always_inline]] static Vector decrypt(Vector c, Vector k, Vector& failed) {
        failed = _mm256_or_si256(failed, _mm256_subs_epu8(k, c)); // c - k below 0
        // Moved down by 32, codes 32..159 have a clear sign bit, and a step below
        // 32 sets it: a ring code that wraps.
        const Vector biased = _mm256_sub_epi8(c, splat(kRingFirst));
        const Vector stepped = _mm256_sub_epi8(biased, k);
        const Vector wraps = _mm256_andnot_si256(biased, stepped);
        const Vector back = _mm256_shuffle_epi8(splat(static_cast<std::uint8_t>(-kRingSize)), wraps); // -91, or 0
        const Vector r = _mm256_add_epi8(_mm256_add_epi8(stepped, splat(kRingFirst + kRingSize)), back);
        // 253..255 move to 0x7D..0x7F, which index the table; every other code
        // saturates onto the sign bit and keeps its stepped result.
        const Vector index = _mm256_adds_epu8(_mm256_add_epi8(c, splat(3)), splat(0x7D));
        const Vector special = _mm256_shuffle_epi8(table(0, 0, 13, 10, 9), index);
        return _mm256_blendv_epi8(special, r, index);
    }
};

} // namespace

std::size_t encryptAvx2(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n,
                        Stores stores) {
    return stores == Stores::Streaming ? blockRun<Avx2Lanes, Way::Encrypt, true>(in, keys, out, n)
                                       : blockRun<Avx2Lanes, Way::Encrypt, false>(in, keys, out, n);
}

std::size_t decryptAvx2(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n,
                        Stores stores) {
    return stores == Stores::Streaming ? blockRun<Avx2Lanes, Way::Decrypt, true>(in, keys, out, n)
                                       : blockRun<Avx2Lanes, Way::Decrypt, false>(in, keys, out, n);
}

} // namespace tarvex::cipher::kernels

TARVEX_TARGET_END

#endif
