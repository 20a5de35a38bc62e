// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher/key_fingerprint.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace tarvex::cipher::test {
namespace {

// Expected values were computed once with coreutils, outside the program:
//   printf '\x03\x07\x1e\x00' | sha256sum  -> 58b3f2b6bab7501d...
//   bytes 0 to 30 in order | sha256sum   -> 4f23c2ca8c5c962e...
TEST(KeyFingerprint, IsTheStartOfTheSha256OfTheKeyNumbersInGroupsOfFour) {
    std::vector<std::uint8_t> everyNumber(31);
    std::iota(everyNumber.begin(), everyNumber.end(), std::uint8_t{0});
    EXPECT_EQ(fingerprintOf(everyNumber), "4F23 C2CA 8C5C 962E");
    const std::vector<std::uint8_t> shortKey{3, 7, 30, 0};
    EXPECT_EQ(fingerprintOf(shortKey), "58B3 F2B6 BAB7 501D");
}

class KeyFingerprintOfFile : public ::testing::Test {
protected:
    std::string keyFile(const std::string& name, std::string_view content) {
        const std::string path = dir.file(name);
        tarvex::test::writeBytes(path, content);
        return path;
    }
    tarvex::test::TempDir dir;
};

TEST_F(KeyFingerprintOfFile, LineEndsDoNotChangeItButAnotherKeyDoes) {
    // Key numbers 3, 7, 30, 0: the same as the short key above.
    Result<std::string> crLf = keyFingerprint(keyFile("crlf.tvk", "12\r\n34\r\nFF\r\n00\r\n"));
    Result<std::string> lf = keyFingerprint(keyFile("lf.tvk", "12\n34\nFF\n00\n"));
    Result<std::string> other = keyFingerprint(keyFile("other.tvk", "12\r\n34\r\nFF\r\n01\r\n"));
    ASSERT_TRUE(crLf.ok() && lf.ok() && other.ok());
    EXPECT_EQ(*crLf, "58B3 F2B6 BAB7 501D");
    EXPECT_EQ(*lf, *crLf);
    EXPECT_NE(*other, *crLf);
}

TEST_F(KeyFingerprintOfFile, FailsAsReadingTheKeyDoes) {
    Result<std::string> missing = keyFingerprint(dir.file("missing.tvk"));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().kind, Error::Kind::FileUnreadable);
    Result<std::string> empty = keyFingerprint(keyFile("empty.tvk", "\r\n"));
    ASSERT_FALSE(empty.ok());
    EXPECT_EQ(empty.error().kind, Error::Kind::NoKeyNumber);
}

} // namespace
} // namespace tarvex::cipher::test
