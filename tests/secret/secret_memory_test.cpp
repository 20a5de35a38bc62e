// SPDX-License-Identifier: GPL-3.0-or-later

#include "secret/bytes.h"
#include "secret/string.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <optional>

namespace tarvex::secret::test {
namespace {

// The kernel locks and unlocks whole pages, and keeps no count of how often a
// page was locked: a secret that shared a page with another would unlock it
// when it goes. Every secret is locked in pages of its own, for as long as it
// is held, however it grows, and never in the String object itself.
TEST(SecretMemory, EachSecretIsLockedInPagesOfItsOwnWhileHeld) {
    constexpr std::size_t kGrown = std::size_t{1} << 20;
    if (const std::string why = tarvex::test::whyLockedMemoryUncounted(2 * kGrown); !why.empty()) GTEST_SKIP() << why;
    const long pageKiB = ::sysconf(_SC_PAGESIZE) / 1024;
    const long before = tarvex::test::lockedKiB();
    {
        std::optional<secret::String> first(std::in_place, 100, 'a');
        secret::String second(100, 'b');
        const auto* object = reinterpret_cast<const char*>(&second);
        EXPECT_FALSE(second.data() >= object && second.data() < object + sizeof second);
        EXPECT_GE(tarvex::test::lockedKiB() - before, 2 * pageKiB);
        first.reset();
        EXPECT_GE(tarvex::test::lockedKiB() - before, pageKiB) << "the page of the one still held was unlocked";

        second.append(kGrown, 'c');
        const secret::Bytes key(kGrown);
        EXPECT_GE(tarvex::test::lockedKiB() - before, static_cast<long>(2 * kGrown / 1024));
        EXPECT_LE(tarvex::test::lockedKiB() - before, static_cast<long>(2 * kGrown / 1024) + 8 * pageKiB)
            << "the pages left behind by growing stay locked";
    }
    EXPECT_EQ(tarvex::test::lockedKiB(), before);
}

TEST(SecretMemoryDeathTest, ReachingPastTheEndOfGuardedBytesStopsTheProgram) {
    secret::Bytes key = secret::Bytes::guarded(32);
    volatile std::uint8_t* past = key.data() + key.size();
    EXPECT_DEATH(*past = 1, "");
}

} // namespace
} // namespace tarvex::secret::test
