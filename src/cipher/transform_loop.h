// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The block loop every vector path shares. Each path's source file includes
// this once and may compile it for its own instruction set, so everything here
// stays internal to the file that includes it.

#include "cipher_codes.h"
#include "transform_kernels.h"

#include <cstddef>
#include <cstdint>

namespace tarvex::cipher::kernels {
namespace {

enum class Way { Encrypt, Decrypt };

// One code at a time: the ends of some vector runs, and the whole of the
// portable path. The same rules as encryptCode and decryptCode, written so the
// ring's wrap is arithmetic rather than a branch that text mispredicts.
template <Way way>
inline std::size_t scalarRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t from,
                             std::size_t n) {
    for (std::size_t i = from; i < n; ++i) {
        const int c = in[i];
        const int k = keys[i];
        int code;
        if constexpr (way == Way::Encrypt) {
            code = c + k;
            code -= kRingSize * static_cast<int>((c <= kRingLast) & (code > kRingLast));
            // Controls have no result, nor codes that would pass 252: 253 to 255
            // read back as CR, LF and tab.
            if (c < kRingFirst || code >= kCarriageReturnCode) {
                if (c != 9 && c != 10 && c != 13) return i;
                code = encryptCode(static_cast<std::uint8_t>(c), 0);
            }
        } else {
            code = c - k;
            code += kRingSize * static_cast<int>((c >= kRingFirst) & (code < kRingFirst));
            if (c >= kCarriageReturnCode) code = decryptCode(static_cast<std::uint8_t>(c), 0);
            if (code < 0) return i;
        }
        out[i] = static_cast<std::uint8_t>(code);
    }
    return n;
}

// Lanes gives: Vector, kWidth, zero(), load(), store(), stream(), any(), and encrypt()/decrypt() of one vector that OR into `failed` a nonzero
// lane wherever a code has no result.
template <class Lanes, Way way>
[[gnu::always_inline]] inline typename Lanes::Vector transform(typename Lanes::Vector c, typename Lanes::Vector k,
                                                             typename Lanes::Vector& failed) {
    return way == Way::Encrypt ? Lanes::encrypt(c, k, failed) : Lanes::decrypt(c, k, failed);
}

// One vector at `at` into `r`; false when a code in it has no result.
template <class Lanes, Way way>
[[gnu::always_inline]] inline bool vectorAt(const std::uint8_t* in, const std::uint8_t* keys, std::size_t at,
                                            typename Lanes::Vector& r) {
    typename Lanes::Vector failed = Lanes::zero();
    r = transform<Lanes, way>(Lanes::load(in + at), Lanes::load(keys + at), failed);
    return !Lanes::any(failed);
}

template <class Lanes, bool streaming>
[[gnu::always_inline]] inline void put(std::uint8_t* p, typename Lanes::Vector v) {
    if constexpr (streaming) {
        Lanes::stream(p, v);
    } else {
        Lanes::store(p, v);
    }
}

// How far ahead of the block at hand a streaming run reads: measured best
// between 1 and 4 KiB.
inline constexpr std::size_t kPrefetchDistance = 4096;

// Streaming stores go around the cache, for results too large to stay in it;
// they need `out` aligned to the vector width, which the first few codes bring about.
template <class Lanes, Way way, bool streaming>
inline std::size_t blockRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n) {
    using Vector = typename Lanes::Vector;
    constexpr std::size_t kWidth = Lanes::kWidth;
    // Where input and output do not overlap, a vector may be worked out of
    // order, overlapping its neighbour, to spare the ends one code at a time.
    const auto inAt = reinterpret_cast<std::uintptr_t>(in);
    const auto outAt = reinterpret_cast<std::uintptr_t>(out);
    const bool apart = outAt + n <= inAt || inAt + n <= outAt;
    std::size_t i = 0;
    if constexpr (streaming) {
        std::size_t head = (kWidth - outAt % kWidth) % kWidth;
        if (apart && n >= kWidth) {
            Vector r;
            if (!vectorAt<Lanes, way>(in, keys, 0, r)) return scalarRun<way>(in, keys, out, 0, n);
            Lanes::store(out, r);
        } else {
            head = head < n ? head : n;
            if (const std::size_t ok = scalarRun<way>(in, keys, out, 0, head); ok < head) return ok;
        }
        i = head;
    }
    // Blocks of four vectors share one failure test; a block that fails is
    // redone one code at a time to find where.
    for (; i + 4 * kWidth <= n; i += 4 * kWidth) {
        if constexpr (streaming) {
            // Ask for the input well ahead, past the cache's own guess: with
            // the stores going around the cache, reading is all that waits.
            // A prefetch never faults, so the address may lie past the end;
            // it is formed as a number so the pointer never does.
            const std::uintptr_t ahead = inAt + i + kPrefetchDistance;
            __builtin_prefetch(reinterpret_cast<const void*>(ahead), 0, 0);
            __builtin_prefetch(reinterpret_cast<const void*>(ahead + 64), 0, 0);
        }
        Vector failed = Lanes::zero();
        const Vector r0 = transform<Lanes, way>(Lanes::load(in + i), Lanes::load(keys + i), failed);
        const Vector r1 = transform<Lanes, way>(Lanes::load(in + i + kWidth), Lanes::load(keys + i + kWidth), failed);
        const Vector r2 =
            transform<Lanes, way>(Lanes::load(in + i + 2 * kWidth), Lanes::load(keys + i + 2 * kWidth), failed);
        const Vector r3 =
            transform<Lanes, way>(Lanes::load(in + i + 3 * kWidth), Lanes::load(keys + i + 3 * kWidth), failed);
        if (Lanes::any(failed)) break;
        put<Lanes, streaming>(out + i, r0);
        put<Lanes, streaming>(out + i + kWidth, r1);
        put<Lanes, streaming>(out + i + 2 * kWidth, r2);
        put<Lanes, streaming>(out + i + 3 * kWidth, r3);
    }
    // Then single vectors, so at most a vector's width is left for one at a time.
    for (; i + kWidth <= n; i += kWidth) {
        Vector r;
        if (!vectorAt<Lanes, way>(in, keys, i, r)) break;
        put<Lanes, streaming>(out + i, r);
    }
    if (i < n && n - i < kWidth && apart && n >= kWidth) {
        // The last vector ends exactly at n; what it shares with the one before is written twice, the same.
        Vector r;
        if (vectorAt<Lanes, way>(in, keys, n - kWidth, r)) {
            Lanes::store(out + n - kWidth, r);
            return n;
        }
    }
    return scalarRun<way>(in, keys, out, i, n);
}

} // namespace
} // namespace tarvex::cipher::kernels
