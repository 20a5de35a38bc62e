// SPDX-License-Identifier: GPL-3.0-or-later

#include "transform_kernels.h"

#include "transform_kernels_avx2.h"
#include "transform_loop.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tarvex::cipher {
namespace {

using kernels::Way;

// 16 lanes of bytes in the compiler's vector extension: SSE2 on every x86-64,
// NEON or plain code elsewhere.
struct Lanes16 {
    using Vector = std::uint8_t __attribute__((vector_size(16)));
    static constexpr std::size_t kWidth = 16;

    [[gnu::always_inline]] static Vector zero() { return Vector{}; }
    [[gnu::always_inline]] static Vector load(const std::uint8_t* p) {
        Vector v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    [[gnu::always_inline]] static void store(std::uint8_t* p, Vector v) { std::memcpy(p, &v, sizeof v); }
    [[gnu::always_inline]] static void stream(std::uint8_t* p, Vector v) {
#if defined(__SSE2__)
        _mm_stream_si128(reinterpret_cast<__m128i*>(p), reinterpret_cast<__m128i>(v));
#else
        store(p, v);
#endif
    }
    [[gnu::always_inline]] static bool any(Vector v) {
        std::uint64_t words[2];
        std::memcpy(words, &v, sizeof v);
        return (words[0] | words[1]) != 0;
    }

    // Comparisons give signed lanes of all ones or zeros; use them as byte masks.
    template <typename Mask>
    [[gnu::always_inline]] static Vector mask(Mask m) {
        return reinterpret_cast<Vector>(m);
    }
    [[gnu::always_inline]] static Vector select(Vector m, Vector a, Vector b) { return (m & a) | (~m & b); }

    // a + k, where a at or above `ceiling` counts as `ceiling` (k at most 30, so
    // nothing passes 255); and nonzero lanes where a lane is at least `floor`.
    [[gnu::always_inline]] static Vector addHeld(Vector a, Vector k, std::uint8_t ceiling) {
#if defined(__SSE2__)
        (void)ceiling; // saturating at 255 holds those lanes above any floor too
        return reinterpret_cast<Vector>(_mm_adds_epu8(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(k)));
#else
        return (a < ceiling ? a : Vector{} + ceiling) + k;
#endif
    }
    [[gnu::always_inline]] static Vector atLeast(Vector a, std::uint8_t floor) {
#if defined(__SSE2__)
        return reinterpret_cast<Vector>(
            _mm_subs_epu8(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(Vector{} + static_cast<std::uint8_t>(floor - 1))));
#else
        return mask(a >= floor);
#endif
    }

    [[gnu::always_inline]] static Vector encrypt(Vector c, Vector k, Vector& failed) {
        Vector s = c + k;
        const Vector tab = mask(c == 9);
        const Vector lineFeed = mask(c == 10);
        const Vector carriageReturn = mask(c == 13);
        // Moved down by 32, the controls (0..31) and 253..255 sit at 221 and
        // above, and the codes 123..252 get there exactly when their step takes
        // them onto 253 (which reads back as a line break) or past 255. Held at
        // 221, nothing wraps. Tab, LF and CR have a result all the same.
        constexpr std::uint8_t kReserved = kCarriageReturnCode - kRingFirst;
        failed |= atLeast(addHeld(c - kRingFirst, k, kReserved), kReserved) & ~(tab | lineFeed | carriageReturn);
        // Only ring codes wrap: a code below the ring steps to at most 61, and one
        // above it never comes back down, so the ring's lower bound needs no test.
        Vector wrap = mask(c <= kRingLast) & mask(s > kRingLast);
        Vector r = s - (wrap & kRingSize);
        r = select(tab, Vector{} + kTabCode, r);
        r = select(lineFeed, Vector{} + kLineFeedCode, r);
        r = select(carriageReturn, Vector{} + kCarriageReturnCode, r);
        return r;
    }

    [[gnu::always_inline]] static Vector decrypt(Vector c, Vector k, Vector& failed) {
        Vector d = c - k;
        failed |= mask(d > c); // wrapped below 0
        Vector low = mask(c >= kRingFirst) & mask(d < kRingFirst);
        Vector r = d + (low & kRingSize);
        r = select(mask(c == kTabCode), Vector{} + 9, r);
        r = select(mask(c == kLineFeedCode), Vector{} + 10, r);
        r = select(mask(c == kCarriageReturnCode), Vector{} + 13, r);
        return r;
    }
};

using RunFunction = std::size_t (*)(const std::uint8_t*, const std::uint8_t*, std::uint8_t*, std::size_t, Stores);

template <Way way>
std::size_t portableRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n, Stores) {
    return kernels::scalarRun<way>(in, keys, out, 0, n);
}

template <Way way>
std::size_t vector16Run(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n,
                        Stores stores) {
    return stores == Stores::Streaming ? kernels::blockRun<Lanes16, way, true>(in, keys, out, n)
                                       : kernels::blockRun<Lanes16, way, false>(in, keys, out, n);
}

template <Way way>
RunFunction runFor(simd::Path path) {
    switch (path) {
    case simd::Path::Portable: return portableRun<way>;
    case simd::Path::Vector16: return vector16Run<way>;
    case simd::Path::Avx2:
    case simd::Path::Avx512:
#if defined(__x86_64__)
        return way == Way::Encrypt ? kernels::encryptAvx2 : kernels::decryptAvx2;
#else
        break;
#endif
    }
    return portableRun<way>;
}

constexpr std::initializer_list<simd::Path> kKernelPaths = {simd::Path::Portable, simd::Path::Vector16,
                                                            simd::Path::Avx2};

simd::Path bestPath() {
    return simd::fastestAmong(kKernelPaths);
}

// Chosen once, on first use, for this processor.
template <Way way>
RunFunction bestRun() {
    static const RunFunction chosen = runFor<way>(bestPath());
    return chosen;
}

} // namespace

std::vector<simd::Path> availableKernelPaths() {
    return simd::availableAmong(kKernelPaths);
}

simd::Path chosenKernelPath() {
    return bestPath();
}

std::size_t encryptRunWith(simd::Path path, const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                           std::size_t n, Stores stores) {
    return runFor<Way::Encrypt>(path)(in, keys, out, n, stores);
}

std::size_t decryptRunWith(simd::Path path, const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                           std::size_t n, Stores stores) {
    return runFor<Way::Decrypt>(path)(in, keys, out, n, stores);
}

void finishStreamingStores() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

std::size_t encryptRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n,
                       Stores stores) {
    return bestRun<Way::Encrypt>()(in, keys, out, n, stores);
}

std::size_t decryptRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n,
                       Stores stores) {
    return bestRun<Way::Decrypt>()(in, keys, out, n, stores);
}

} // namespace tarvex::cipher
