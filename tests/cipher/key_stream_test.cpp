// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher/key_stream.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace tarvex::cipher::test {
namespace {

std::vector<std::uint8_t> keyOf(std::size_t length) {
    std::vector<std::uint8_t> key(length);
    for (std::size_t i = 0; i < length; ++i) key[i] = static_cast<std::uint8_t>((i * 7 + 3) % 31);
    return key;
}

// The element the n-th character (from 0) uses: the key numbers repeated from the start.
std::uint8_t expectedAt(const std::vector<std::uint8_t>& key, std::uint64_t n) {
    return key[static_cast<std::size_t>(n % key.size())];
}

TEST(KeyStreamMemory, KeyNumbersAreLockedWhileHeldAndUnlockedWhenGone) {
    constexpr std::size_t kKeyLength = 256 * 1024;
    if (const std::string why = tarvex::test::whyLockedMemoryUncounted(kKeyLength); !why.empty()) GTEST_SKIP() << why;
    const long before = tarvex::test::lockedKiB();
    {
        const KeyStream stream(keyOf(kKeyLength));
        EXPECT_GE(tarvex::test::lockedKiB() - before, static_cast<long>(kKeyLength / 1024));
    }
    EXPECT_EQ(tarvex::test::lockedKiB(), before);
}

class KeyStreamLengths : public ::testing::TestWithParam<std::size_t> {};

TEST_P(KeyStreamLengths, RepeatsTheKeyNumbersFromTheStartWithoutEnd) {
    const std::vector<std::uint8_t> key = keyOf(GetParam());
    KeyStream stream(key);
    std::mt19937 random(static_cast<std::uint32_t>(GetParam()));
    std::uniform_int_distribution<std::size_t> wanted(1, 700);
    std::uint64_t n = 0;
    while (n < 30000) {
        std::size_t want = wanted(random);
        std::span<const std::uint8_t> run = stream.take(want);
        ASSERT_GE(run.size(), 1u);
        ASSERT_LE(run.size(), want);
        for (std::uint8_t k : run) {
            ASSERT_EQ(k, expectedAt(key, n)) << "element " << n;
            ++n;
        }
    }
}

TEST_P(KeyStreamLengths, RewindGoesBackByTheElementsTaken) {
    const std::vector<std::uint8_t> key = keyOf(GetParam());
    KeyStream stream(key);
    std::mt19937 random(static_cast<std::uint32_t>(GetParam() + 1));
    std::uniform_int_distribution<std::size_t> wanted(1, 5000);
    std::uint64_t n = 0;
    for (int round = 0; round < 200; ++round) {
        std::size_t want = wanted(random);
        std::uint64_t taken = 0;
        while (taken < want) taken += stream.take(want - taken).size();
        std::uint64_t back = std::uniform_int_distribution<std::uint64_t>(0, taken)(random);
        stream.rewind(back);
        n += taken - back;
        std::span<const std::uint8_t> run = stream.take(1);
        ASSERT_EQ(run.size(), 1u);
        ASSERT_EQ(run[0], expectedAt(key, n)) << "round " << round;
        ++n;
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, KeyStreamLengths, ::testing::Values(1, 2, 3, 438, 4095, 4096, 4097, 5969));

// Keys are repeated to a period of at least 65,536 elements; runs and rewinds
// across its end must go on with the right key numbers.
TEST(KeyStream, CrossesTheEndOfItsPeriod) {
    for (std::size_t length : {std::size_t{1}, std::size_t{3}, std::size_t{5969}, std::size_t{65537}}) {
        const std::vector<std::uint8_t> key = keyOf(length);
        KeyStream stream(key);
        std::uint64_t n = 0;
        while (n < 3 * 65536 + 1000) {
            const std::span<const std::uint8_t> run = stream.take(4099);
            for (std::uint8_t k : run) {
                ASSERT_EQ(k, expectedAt(key, n)) << "length " << length << ", element " << n;
                ++n;
            }
            // Back over the last few, which may lie before the period's end, and on again.
            const std::size_t back = std::min<std::size_t>(5, run.size() - 1);
            stream.rewind(back);
            n -= back;
        }
    }
}

TEST(KeyStream, TakingNothingGivesNothing) {
    const std::vector<std::uint8_t> key = {4, 9};
    KeyStream stream(key);
    EXPECT_TRUE(stream.take(0).empty());
    std::span<const std::uint8_t> run = stream.take(1);
    ASSERT_EQ(run.size(), 1u);
    EXPECT_EQ(run[0], 4);
}

} // namespace
} // namespace tarvex::cipher::test
