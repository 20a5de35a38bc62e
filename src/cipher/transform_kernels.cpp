#include "transform_kernels.h"

#include <cstring>

// The lane helpers are always inlined, so passing 32-byte vectors by value
// never meets a calling convention; the warning about that ABI does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace tarvex {
namespace {

// 32 lanes of bytes; the compiler lowers it to AVX2, SSE2 or NEON as the clone allows.
using Bytes = std::uint8_t __attribute__((vector_size(32)));
constexpr std::size_t kLanes = sizeof(Bytes);

[[gnu::always_inline]] inline Bytes load(const std::uint8_t* p) {
    Bytes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

[[gnu::always_inline]] inline void store(std::uint8_t* p, Bytes v) {
    std::memcpy(p, &v, sizeof v);
}

// Comparisons give signed lanes of all ones or zeros; use them as byte masks.
template <typename Mask>
[[gnu::always_inline]] inline Bytes mask(Mask m) {
    return reinterpret_cast<Bytes>(m);
}

[[gnu::always_inline]] inline Bytes select(Bytes m, Bytes a, Bytes b) {
    return (m & a) | (~m & b);
}

[[gnu::always_inline]] inline Bytes encryptLanes(Bytes c, Bytes k, Bytes& failed) {
    Bytes s = c + k;
    failed |= mask(s < c); // wrapped past 255
    Bytes ring = mask(c >= kRingFirst) & mask(c <= kRingLast);
    Bytes wrap = ring & mask(s > kRingLast);
    Bytes r = s - (wrap & kRingSize);
    r = select(mask(c == 9), Bytes{} + kTabCode, r);
    r = select(mask(c == 10), Bytes{} + kLineFeedCode, r);
    r = select(mask(c == 13), Bytes{} + kCarriageReturnCode, r);
    return r;
}

[[gnu::always_inline]] inline Bytes decryptLanes(Bytes c, Bytes k, Bytes& failed) {
    Bytes d = c - k;
    failed |= mask(d > c); // wrapped below 0
    Bytes low = mask(c >= kRingFirst) & mask(d < kRingFirst);
    Bytes r = d + (low & kRingSize);
    r = select(mask(c == kTabCode), Bytes{} + 9, r);
    r = select(mask(c == kLineFeedCode), Bytes{} + 10, r);
    r = select(mask(c == kCarriageReturnCode), Bytes{} + 13, r);
    return r;
}

[[gnu::always_inline]] inline bool any(Bytes v) {
    std::uint64_t words[kLanes / 8];
    std::memcpy(words, &v, sizeof v);
    std::uint64_t all = 0;
    for (std::uint64_t w : words) all |= w;
    return all != 0;
}

template <Bytes (*Lanes)(Bytes, Bytes, Bytes&), int (*One)(std::uint8_t, std::uint8_t)>
[[gnu::always_inline]] inline std::size_t run(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n) {
    std::size_t i = 0;
    // Blocks of four vectors share one failure test.
    for (; i + 4 * kLanes <= n; i += 4 * kLanes) {
        Bytes failed{};
        Bytes r0 = Lanes(load(in + i), load(keys + i), failed);
        Bytes r1 = Lanes(load(in + i + kLanes), load(keys + i + kLanes), failed);
        Bytes r2 = Lanes(load(in + i + 2 * kLanes), load(keys + i + 2 * kLanes), failed);
        Bytes r3 = Lanes(load(in + i + 3 * kLanes), load(keys + i + 3 * kLanes), failed);
        if (any(failed)) break;
        store(out + i, r0);
        store(out + i + kLanes, r1);
        store(out + i + 2 * kLanes, r2);
        store(out + i + 3 * kLanes, r3);
    }
    // The tail, and the block that holds a failure, go one code at a time.
    for (; i < n; ++i) {
        int code = One(in[i], keys[i]);
        if (code < 0 || code > 255) return i;
        out[i] = static_cast<std::uint8_t>(code);
    }
    return n;
}

int encryptOne(std::uint8_t c, std::uint8_t k) { return encryptCode(c, k); }
int decryptOne(std::uint8_t c, std::uint8_t k) { return decryptCode(c, k); }

} // namespace

__attribute__((target_clones("avx2", "default")))
std::size_t encryptRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n) {
    return run<encryptLanes, encryptOne>(in, keys, out, n);
}

__attribute__((target_clones("avx2", "default")))
std::size_t decryptRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n) {
    return run<decryptLanes, decryptOne>(in, keys, out, n);
}

} // namespace tarvex
