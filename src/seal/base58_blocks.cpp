// SPDX-License-Identifier: GPL-3.0-or-later
#include "base58_blocks.h"

#include "seal_vector_paths.h"
#include "seal_paths.h"

#include <array>
#include <cstdint>

namespace tarvex::seal::base58 {
namespace {

constexpr std::array<std::int8_t, 256> makeValues() {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (int i = 0; i < 58; ++i) values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
    return values;
}
constexpr auto kValues = makeValues();

// Two digits at a time: 58 * 58 pairs.
constexpr std::array<std::array<char, 2>, 58 * 58> makePairs() {
    std::array<std::array<char, 2>, 58 * 58> pairs{};
    for (std::size_t i = 0; i < 58 * 58; ++i) pairs[i] = {kAlphabet[i / 58], kAlphabet[i % 58]};
    return pairs;
}
constexpr auto kPairs = makePairs();

constexpr std::uint64_t k58Pow3 = 58ull * 58 * 58;
constexpr std::uint64_t k58Pow6 = k58Pow3 * k58Pow3;

std::uint64_t bigEndian(const std::uint8_t* in, std::size_t bytes) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < bytes; ++i) v = (v << 8) | in[i];
    return v;
}

void putPair(std::uint32_t pair, char* out) {
    out[0] = kPairs[pair][0];
    out[1] = kPairs[pair][1];
}

// Three digits of a value below 58^3.
void putThree(std::uint32_t v, char* out) {
    out[0] = kAlphabet[v / 3364];
    putPair(v % 3364, out + 1);
}

} // namespace

std::optional<std::size_t> bytesForDigits(std::size_t digits) {
    if (digits == kBlockDigits) return kBlockBytes;
    for (std::size_t bytes = 0; bytes <= kBlockBytes; ++bytes)
        if (digitsForBytes(bytes) == digits) return bytes;
    return std::nullopt;
}

int digitValue(unsigned char c) {
    return kValues[c];
}

void encodeBlocks(const std::uint8_t* in, std::size_t blocks, char* out) {
    encodeBlocks(in, blocks, out, fastestSealPath());
}

void encodeBlocks(const std::uint8_t* in, std::size_t blocks, char* out, simd::Path path) {
#if defined(__x86_64__)
    if (path >= simd::Path::Avx2) return fast::encodeBlocks(in, blocks, out);
#endif
    (void)path;
    for (std::size_t b = 0; b < blocks; ++b, in += kBlockBytes, out += kBlockDigits) {
        const std::uint64_t v = bigEndian(in, kBlockBytes);
        // Constant divisors become multiplications; the high five digits fit 32 bits.
        const auto high = static_cast<std::uint32_t>(v / k58Pow6);
        const std::uint64_t low = v % k58Pow6;
        out[0] = kAlphabet[high / (58u * 58 * 58 * 58)];
        const std::uint32_t highRest = high % (58u * 58 * 58 * 58);
        putPair(highRest / 3364, out + 1);
        putPair(highRest % 3364, out + 3);
        putThree(static_cast<std::uint32_t>(low / k58Pow3), out + 5);
        putThree(static_cast<std::uint32_t>(low % k58Pow3), out + 8);
    }
}

void encodeLastBlock(const std::uint8_t* in, std::size_t bytes, char* out) {
    std::uint64_t v = bigEndian(in, bytes);
    for (std::size_t i = digitsForBytes(bytes); i-- > 0;) {
        out[i] = kAlphabet[v % 58];
        v /= 58;
    }
}

std::size_t decodeBlocks(const char* text, std::size_t blocks, std::uint8_t* out) {
    return decodeBlocks(text, blocks, out, fastestSealPath());
}

std::size_t decodeBlocks(const char* text, std::size_t blocks, std::uint8_t* out, simd::Path path) {
#if defined(__x86_64__)
    if (path >= simd::Path::Avx2) return fast::decodeBlocks(text, blocks, out);
#endif
    (void)path;
    for (std::size_t b = 0; b < blocks; ++b, text += kBlockDigits, out += kBlockBytes) {
        std::uint8_t values[kBlockDigits];
        int all = 0;
        for (std::size_t k = 0; k < kBlockDigits; ++k) {
            const int value = kValues[static_cast<unsigned char>(text[k])];
            all |= value;
            values[k] = static_cast<std::uint8_t>(value);
        }
        if (all < 0 || !decodeGroup(values, kBlockDigits, out)) return b;
    }
    return blocks;
}

bool decodeGroup(const std::uint8_t* values, std::size_t digits, std::uint8_t* out) {
    const std::size_t bytes = *bytesForDigits(digits);
    std::uint64_t v = 0;
    if (bytes == kBlockBytes) {
        // 58^11 passes 2^64: the high five digits and the low six, checked before they add up.
        std::uint64_t high = 0, low = 0;
        for (std::size_t i = 0; i < 5; ++i) high = high * 58 + values[i];
        for (std::size_t i = 5; i < kBlockDigits; ++i) low = low * 58 + values[i];
        if (high > (UINT64_MAX - low) / k58Pow6) return false;
        v = high * k58Pow6 + low;
    } else {
        for (std::size_t i = 0; i < digits; ++i) v = v * 58 + values[i];
        if (v >> (8 * bytes) != 0) return false;
    }
    for (std::size_t i = bytes; i-- > 0;) {
        out[i] = static_cast<std::uint8_t>(v);
        v >>= 8;
    }
    return true;
}

} // namespace tarvex::seal::base58
