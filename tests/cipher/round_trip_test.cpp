// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher/key_file_format.h"
#include "cipher/key_file_reader.h"
#include "cipher/text_transformer.h"
#include "messages/messages.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace tarvex::cipher::test {
namespace {

// The codes that come back unchanged: tab, line feed, carriage return and 32 to 222.
std::vector<char> roundTripCodes() {
    std::vector<char> set = {9, 10, 13};
    for (int c = 32; c <= 222; ++c) set.push_back(static_cast<char>(static_cast<unsigned char>(c)));
    return set;
}

// Key numbers as a written key file gives them.
std::vector<std::uint8_t> keyNumbersOfRandomKey(std::size_t length, std::mt19937& random) {
    std::vector<std::uint8_t> bytes(length);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(random));
    const secret::Bytes numbers = keyNumbersFromText(formatKeyFile(bytes));
    return {numbers.begin(), numbers.end()};
}

void expectRoundTrip(const std::string& text, const std::vector<std::uint8_t>& keys, const std::string& what) {
    Result<secret::String> cipher = encryptText(text, keys);
    ASSERT_TRUE(cipher.ok()) << what << ": " << messages::describe(cipher.error());
    ASSERT_EQ(cipher->size(), text.size() + 1) << what;
    EXPECT_EQ(static_cast<unsigned char>((*cipher)[0]), 240) << what;
    // One line of codes 32 to 255, whatever lines the text had.
    for (std::size_t i = 1; i < cipher->size(); ++i) {
        ASSERT_GE(static_cast<unsigned char>((*cipher)[i]), 32) << what << ", cipher position " << i + 1;
    }
    Result<secret::String> back = decryptText(*cipher, keys);
    ASSERT_TRUE(back.ok()) << what << ": " << messages::describe(back.error());
    EXPECT_EQ(std::string_view(*back), text) << what;
}

TEST(RoundTrip, EveryCodeOfTheSetWithEveryKeyNumber) {
    // 194 codes against 31 key numbers: coprime lengths meet every pair.
    const std::vector<char> set = roundTripCodes();
    std::string text;
    for (int r = 0; r < 31; ++r) text.append(set.begin(), set.end());
    std::vector<std::uint8_t> keys;
    for (int k = 0; k <= 30; ++k) keys.push_back(static_cast<std::uint8_t>(k));
    expectRoundTrip(text, keys, "all pairs");
}

TEST(RoundTrip, RandomTextsWithKeysShorterAndLongerThanTheText) {
    std::mt19937 random(1234);
    const std::vector<char> set = roundTripCodes();
    std::uniform_int_distribution<std::size_t> pick(0, set.size() - 1);
    for (std::size_t keyLength : {std::size_t{1}, std::size_t{2}, std::size_t{27}, std::size_t{438}, std::size_t{5969}}) {
        const std::vector<std::uint8_t> keys = keyNumbersOfRandomKey(keyLength, random);
        for (std::size_t textLength : {std::size_t{1}, std::size_t{2}, std::size_t{450}, std::size_t{3000}, std::size_t{20000}}) {
            std::string text;
            for (std::size_t i = 0; i < textLength; ++i) text.push_back(set[pick(random)]);
            expectRoundTrip(text, keys, "key " + std::to_string(keyLength) + ", text " + std::to_string(textLength));
        }
    }
}

TEST(RoundTrip, MessageWithLineBreaks) {
    std::mt19937 random(5);
    const std::vector<std::uint8_t> keys = keyNumbersOfRandomKey(438, random);
    expectRoundTrip("Dear Ann,\r\n\r\n\tsee you at 8 {not 9}!\r\n\xC9t\xC9 \xA9 \xDE\r\n", keys, "letter");
}

} // namespace
} // namespace tarvex::cipher::test
