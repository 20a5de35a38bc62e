// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cipher_codes.h"

#include "core/instruction_set.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvex::cipher {

// The code that `c` encrypts to with key number `k` (0-30); above 255 when it has none.
constexpr int encryptCode(std::uint8_t c, std::uint8_t k) {
    if (c == 9) return kTabCode;
    if (c == 10) return kLineFeedCode;
    if (c == 13) return kCarriageReturnCode;
    int stepped = c + k;
    if (c >= kRingFirst && c <= kRingLast && stepped > kRingLast) stepped -= kRingSize;
    return stepped;
}

// Why a code cannot be encrypted with key number `k`. A cipher code must decrypt
// back to the code it came from, and the cipher text must hold no control
// characters that line handling and mail would change.
enum class EncryptFault {
    None,
    Control,  // below 32, other than tab, LF and CR: would not come back, or stand raw
    TooLarge, // its code would pass 255
    Reserved, // its code would land on 253 to 255, which decrypt to CR, LF and tab
};

constexpr EncryptFault encryptFault(std::uint8_t c, std::uint8_t k) {
    if (c == 9 || c == 10 || c == 13) return EncryptFault::None;
    if (c < kRingFirst) return EncryptFault::Control;
    const int code = encryptCode(c, k);
    if (code > 255) return EncryptFault::TooLarge;
    if (code >= kCarriageReturnCode) return EncryptFault::Reserved;
    return EncryptFault::None;
}

// The code that `c` decrypts to with key number `k` (0-30); below 0 when it has none.
constexpr int decryptCode(std::uint8_t c, std::uint8_t k) {
    if (c == kTabCode) return 9;
    if (c == kLineFeedCode) return 10;
    if (c == kCarriageReturnCode) return 13;
    int stepped = c - k;
    if (c >= kRingFirst && stepped < kRingFirst) stepped += kRingSize;
    return stepped;
}

// How results reach memory: through the cache, or around it for results far
// larger than the cache, which would only push out what is worth keeping.
// Streamed results are at once visible to this thread; call
// finishStreamingStores() once, after the last run, before any other thread
// or the system reads them.
enum class Stores { Cached, Streaming };
void finishStreamingStores();

// Transform n codes, the i-th with keys[i] (key numbers, 0-30), into out (which
// may equal in). Return the index of the first code without a result, or n when
// all have one; out is unspecified from that index on. Encrypting, a code has a
// result only where encryptFault() finds none; decrypting, where decryptCode()
// is not below 0.
// These use the fastest path this processor has, chosen once at run time.
std::size_t encryptRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n,
                       Stores stores = Stores::Cached);
std::size_t decryptRun(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n,
                       Stores stores = Stores::Cached);

// The transform is built one code at a time, with 16 lanes and with 32 lanes
// (AVX2); AVX-512 runs the AVX2 code. Every path gives the same bytes and
// stops at the same index. The paths of the transform this processor runs:
std::vector<simd::Path> availableKernelPaths();
simd::Path chosenKernelPath();
std::size_t encryptRunWith(simd::Path path, const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                           std::size_t n, Stores stores = Stores::Cached);
std::size_t decryptRunWith(simd::Path path, const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                           std::size_t n, Stores stores = Stores::Cached);

} // namespace tarvex::cipher
