#include "transform_kernels.h"

#include <cstring>

// The lane helpers are always inlined, so passing 32-byte vectors by value
// never meets a calling convention; the warning about that ABI does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace tarvex {
namespace {

// Lanes of bytes; the compiler lowers each width to what the target offers
// (SSE2 for 16 on every x86-64, AVX2 for 32 in the functions built for it).
using Bytes16 = std::uint8_t __attribute__((vector_size(16)));
using Bytes32 = std::uint8_t __attribute__((vector_size(32)));

template <typename Bytes>
[[gnu::always_inline]] inline Bytes load(const std::uint8_t* p) {
    Bytes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename Bytes>
[[gnu::always_inline]] inline void store(std::uint8_t* p, Bytes v) {
    std::memcpy(p, &v, sizeof v);
}

// Comparisons give signed lanes of all ones or zeros; use them as byte masks.
template <typename Bytes, typename Mask>
[[gnu::always_inline]] inline Bytes mask(Mask m) {
    return reinterpret_cast<Bytes>(m);
}

template <typename Bytes>
[[gnu::always_inline]] inline Bytes select(Bytes m, Bytes a, Bytes b) {
    return (m & a) | (~m & b);
}

template <typename Bytes>
[[gnu::always_inline]] inline Bytes encryptLanes(Bytes c, Bytes k, Bytes& failed) {
    Bytes s = c + k;
    failed |= mask<Bytes>(s < c); // wrapped past 255
    // Only ring codes wrap: a code below the ring steps to at most 61, and one
    // above it never comes back down, so the ring's lower bound needs no test.
    Bytes wrap = mask<Bytes>(c <= kRingLast) & mask<Bytes>(s > kRingLast);
    Bytes r = s - (wrap & kRingSize);
    r = select(mask<Bytes>(c == 9), Bytes{} + kTabCode, r);
    r = select(mask<Bytes>(c == 10), Bytes{} + kLineFeedCode, r);
    r = select(mask<Bytes>(c == 13), Bytes{} + kCarriageReturnCode, r);
    return r;
}

template <typename Bytes>
[[gnu::always_inline]] inline Bytes decryptLanes(Bytes c, Bytes k, Bytes& failed) {
    Bytes d = c - k;
    failed |= mask<Bytes>(d > c); // wrapped below 0
    Bytes low = mask<Bytes>(c >= kRingFirst) & mask<Bytes>(d < kRingFirst);
    Bytes r = d + (low & kRingSize);
    r = select(mask<Bytes>(c == kTabCode), Bytes{} + 9, r);
    r = select(mask<Bytes>(c == kLineFeedCode), Bytes{} + 10, r);
    r = select(mask<Bytes>(c == kCarriageReturnCode), Bytes{} + 13, r);
    return r;
}

template <typename Bytes>
[[gnu::always_inline]] inline bool any(Bytes v) {
    std::uint64_t words[sizeof(Bytes) / 8];
    std::memcpy(words, &v, sizeof v);
    std::uint64_t all = 0;
    for (std::uint64_t w : words) all |= w;
    return all != 0;
}

enum class Way { Encrypt, Decrypt };

template <Way way>
[[gnu::always_inline]] inline int one(std::uint8_t c, std::uint8_t k) {
    return way == Way::Encrypt ? encryptCode(c, k) : decryptCode(c, k);
}

// One code at a time: the tail of every path, and the whole of the portable one.
template <Way way>
[[gnu::always_inline]] inline std::size_t scalarRun(const std::uint8_t* in, const std::uint8_t* keys,
                                                    std::uint8_t* out, std::size_t from, std::size_t n) {
    for (std::size_t i = from; i < n; ++i) {
        int code = one<way>(in[i], keys[i]);
        if (code < 0 || code > 255) return i;
        out[i] = static_cast<std::uint8_t>(code);
    }
    return n;
}

template <Way way, typename Bytes>
[[gnu::always_inline]] inline Bytes lanes(Bytes c, Bytes k, Bytes& failed) {
    return way == Way::Encrypt ? encryptLanes(c, k, failed) : decryptLanes(c, k, failed);
}

template <Way way, typename Bytes>
[[gnu::always_inline]] inline std::size_t vectorRun(const std::uint8_t* in, const std::uint8_t* keys,
                                                    std::uint8_t* out, std::size_t n) {
    constexpr std::size_t kLanes = sizeof(Bytes);
    std::size_t i = 0;
    // Blocks of four vectors share one failure test; a block that fails is
    // redone one code at a time to find where.
    for (; i + 4 * kLanes <= n; i += 4 * kLanes) {
        Bytes failed{};
        Bytes r0 = lanes<way>(load<Bytes>(in + i), load<Bytes>(keys + i), failed);
        Bytes r1 = lanes<way>(load<Bytes>(in + i + kLanes), load<Bytes>(keys + i + kLanes), failed);
        Bytes r2 = lanes<way>(load<Bytes>(in + i + 2 * kLanes), load<Bytes>(keys + i + 2 * kLanes), failed);
        Bytes r3 = lanes<way>(load<Bytes>(in + i + 3 * kLanes), load<Bytes>(keys + i + 3 * kLanes), failed);
        if (any(failed)) break;
        store(out + i, r0);
        store(out + i + kLanes, r1);
        store(out + i + 2 * kLanes, r2);
        store(out + i + 3 * kLanes, r3);
    }
    return scalarRun<way>(in, keys, out, i, n);
}

template <Way way>
std::size_t portableRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n) {
    return scalarRun<way>(in, keys, out, 0, n);
}

// 16 lanes: SSE2 on x86-64, NEON or plain code elsewhere.
template <Way way>
std::size_t vector16Run(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n) {
    return vectorRun<way, Bytes16>(in, keys, out, n);
}

#if defined(__x86_64__)
template <Way way>
__attribute__((target("avx2"))) std::size_t avx2Run(const std::uint8_t* in, const std::uint8_t* keys,
                                                     std::uint8_t* out, std::size_t n) {
    return vectorRun<way, Bytes32>(in, keys, out, n);
}
#endif

using RunFunction = std::size_t (*)(const std::uint8_t*, const std::uint8_t*, std::uint8_t*, std::size_t);

template <Way way>
RunFunction runFor(KernelPath path) {
    switch (path) {
    case KernelPath::Portable: return portableRun<way>;
    case KernelPath::Vector16: return vector16Run<way>;
    case KernelPath::Avx2:
#if defined(__x86_64__)
        return avx2Run<way>;
#else
        break;
#endif
    }
    return portableRun<way>;
}

KernelPath bestPath() {
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) return KernelPath::Avx2;
#endif
    return KernelPath::Vector16;
}

// Chosen once, on first use, for this processor.
template <Way way>
RunFunction bestRun() {
    static const RunFunction chosen = runFor<way>(bestPath());
    return chosen;
}

} // namespace

std::vector<KernelPath> availableKernelPaths() {
    std::vector<KernelPath> paths = {KernelPath::Portable, KernelPath::Vector16};
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) paths.push_back(KernelPath::Avx2);
#endif
    return paths;
}

KernelPath chosenKernelPath() {
    return bestPath();
}

std::size_t encryptRunWith(KernelPath path, const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                           std::size_t n) {
    return runFor<Way::Encrypt>(path)(in, keys, out, n);
}

std::size_t decryptRunWith(KernelPath path, const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                           std::size_t n) {
    return runFor<Way::Decrypt>(path)(in, keys, out, n);
}

std::size_t encryptRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n) {
    return bestRun<Way::Encrypt>()(in, keys, out, n);
}

std::size_t decryptRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n) {
    return bestRun<Way::Decrypt>()(in, keys, out, n);
}

} // namespace tarvex
