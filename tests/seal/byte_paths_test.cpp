// SPDX-License-Identifier: GPL-3.0-or-later

// The vector paths of base58 and CRC-32 against the portable ones and a
// bit-by-bit CRC, on every path this processor runs.

#include "seal/base58_blocks.h"
#include "seal/crc32.h"
#include "seal/seal_paths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tarvex::seal::test {
namespace {

using tarvex::simd::Path;

std::vector<std::uint8_t> randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    return bytes;
}

std::uint32_t crcBitByBit(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        c ^= bytes[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}

TEST(SealBytePaths, Base58BlocksReadBackAndStopWhereTheDigitsEnd) {
    // Blocks of extremes and random ones; 2^64 - 1 is "jpXCZedGfVQ".
    std::vector<std::uint8_t> bytes(8 * 3, 0xFF);
    std::fill(bytes.begin() + 8, bytes.begin() + 16, 0);
    const std::vector<std::uint8_t> more = randomBytes(8 * 61, 1);
    bytes.insert(bytes.end(), more.begin(), more.end());
    const std::size_t blocks = bytes.size() / 8;
    std::string expected(blocks * 11, '\0');
    base58::encodeBlocks(bytes.data(), blocks, expected.data(), Path::Portable);
    EXPECT_EQ(expected.substr(0, 22), "jpXCZedGfVQ11111111111");

    for (Path path : tarvex::seal::sealPaths()) {
        SCOPED_TRACE(static_cast<int>(path));
        std::string text(blocks * 11, '\0');
        base58::encodeBlocks(bytes.data(), blocks, text.data(), path);
        EXPECT_EQ(text, expected);
        std::vector<std::uint8_t> back(bytes.size());
        ASSERT_EQ(base58::decodeBlocks(text.data(), blocks, back.data(), path), blocks);
        EXPECT_EQ(back, bytes);

        // Every character that is no digit, at every place of a block, stops
        // the read at that block; so does a value of 2^64 or more.
        for (const char wrong : std::string("0IOl:@[`{+ \x80\xff", 13)) {
            for (std::size_t at = 0; at < 11; ++at) {
                std::string damaged = text;
                damaged[5 * 11 + at] = wrong;
                EXPECT_EQ(base58::decodeBlocks(damaged.data(), blocks, back.data(), path), 5u) << wrong << at;
            }
        }
        std::string tooLarge = text;
        tooLarge.replace(7 * 11, 11, "jpXCZedGfVR");
        EXPECT_EQ(base58::decodeBlocks(tooLarge.data(), blocks, back.data(), path), 7u);
        tooLarge.replace(7 * 11, 11, "zzzzzzzzzzz");
        EXPECT_EQ(base58::decodeBlocks(tooLarge.data(), blocks, back.data(), path), 7u);
    }
}

TEST(SealBytePaths, Crc32MatchesTheBitByBitOneForEveryLengthAndPiece) {
    const std::vector<std::uint8_t> bytes = randomBytes(70000, 2);
    const auto* check = reinterpret_cast<const std::uint8_t*>("123456789");
    for (Path path : tarvex::seal::sealPaths()) {
        SCOPED_TRACE(static_cast<int>(path));
        EXPECT_EQ(tarvex::seal::crc32Update(0, check, 9, path), 0xCBF43926u);
        for (std::size_t offset = 0; offset < 16; offset += 5)
            for (std::size_t size = 0; size <= 300; ++size)
                ASSERT_EQ(tarvex::seal::crc32Update(0, bytes.data() + offset, size, path),
                          crcBitByBit(bytes.data() + offset, size))
                    << offset << " " << size;
        // In uneven pieces, as a stream feeds it.
        std::uint32_t crc = 0;
        for (std::size_t at = 0, step = 1; at < bytes.size(); at += step, step = step * 3 + 1)
            crc = tarvex::seal::crc32Update(crc, bytes.data() + at, std::min(step, bytes.size() - at), path);
        EXPECT_EQ(crc, crcBitByBit(bytes.data(), bytes.size()));
    }
}

} // namespace
} // namespace tarvex::seal::test
