// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher/key_file_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tarvex::cipher::test {
namespace {

std::string format(std::vector<std::uint8_t> bytes) {
    return std::string(formatKeyFile(bytes));
}

TEST(KeyFileFormat, EachByteIsTwoCapitalHexDigitsWithLeadingZero) {
    EXPECT_EQ(format({0x00, 0x0A, 0xFF, 0xAB, 0x10, 0x09, 0xC0}), "000AFFAB1009C0\r\n");
}

TEST(KeyFileFormat, TwentySevenPairsFillALineAndTheRestFollows) {
    std::vector<std::uint8_t> bytes(28, 0x5E);
    bytes[26] = 0x01;
    bytes[27] = 0xD4;
    std::string expected;
    for (int i = 0; i < 26; ++i) expected += "5E";
    expected += "01\r\nD4\r\n";
    EXPECT_EQ(format(bytes), expected);
}

TEST(KeyFileFormat, FullFinalLineIsFollowedByAnEmptyLine) {
    std::vector<std::uint8_t> bytes(54, 0xE7);
    std::string line;
    for (int i = 0; i < 27; ++i) line += "E7";
    EXPECT_EQ(format(bytes), line + "\r\n" + line + "\r\n\r\n");
}

TEST(KeyFileFormat, NoBytesIsOneEmptyLine) {
    EXPECT_EQ(format({}), "\r\n");
}

} // namespace
} // namespace tarvex::cipher::test
