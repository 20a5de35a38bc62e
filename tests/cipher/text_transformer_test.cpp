// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher/key_file_reader.h"
#include "cipher/text_transformer.h"
#include "messages/messages.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace tarvex::cipher::test {
namespace {

using tarvex::test::codes;
using tarvex::test::codesOf;
using Keys = std::vector<std::uint8_t>;

std::vector<int> encrypted(std::string_view text, const Keys& keys) {
    Result<secret::String> r = encryptText(text, keys);
    EXPECT_TRUE(r.ok()) << messages::describe(r.error());
    return r.ok() ? codesOf(*r) : std::vector<int>{};
}

std::vector<int> decrypted(std::string_view cipher, const Keys& keys) {
    Result<secret::String> r = decryptText(cipher, keys);
    EXPECT_TRUE(r.ok()) << messages::describe(r.error());
    return r.ok() ? codesOf(*r) : std::vector<int>{};
}

Keys keysFromFile(std::string_view keyFile) {
    const secret::Bytes numbers = keyNumbersFromText(keyFile);
    return {numbers.begin(), numbers.end()};
}

// Encryption: marker first, then one code per code stepped by its key number.

TEST(Encrypt, TwoCharactersWithTwoKeyNumbers) {
    // 'A' + 5 = 'F'; 122 + 7 passes 122 and re-enters the ring at 31 + 7.
    EXPECT_EQ(encrypted("Az", {5, 7}), (std::vector<int>{240, 'F', 38}));
}

TEST(Encrypt, CodeOf122ReentersTheRingAt31PlusK) {
    for (int k = 1; k <= 30; ++k) {
        EXPECT_EQ(encrypted("z", {static_cast<std::uint8_t>(k)}), (std::vector<int>{240, 31 + k})) << "k " << k;
    }
}

TEST(Encrypt, LineBreakBecomes253And254AndUsesUpTwoKeyNumbers) {
    EXPECT_EQ(encrypted("a\r\nb", {1, 2, 3, 4}), (std::vector<int>{240, 'b', 253, 254, 'f'}));
    // 'a' + 30 wraps to '$'; the second letter takes the fourth key number.
    EXPECT_EQ(encrypted("a\r\nb", {30, 0, 17, 5}), (std::vector<int>{240, '$', 253, 254, 'g'}));
    EXPECT_EQ(encrypted("\t", {30}), (std::vector<int>{240, 255}));
}

TEST(Encrypt, TextLongerThanTheKeyStartsTheKeyAgain) {
    EXPECT_EQ(encrypted("abcdefg", {1, 2, 3}), codesOf("\xF0" "bdfegih"));
}

TEST(Encrypt, SinglePairKeyStepsEveryCharacterByItsNumber) {
    const Keys keys = keysFromFile("25\r\n");
    ASSERT_EQ(codesOf(keys), (std::vector<int>{7}));
    EXPECT_EQ(encrypted("hello", keys), codesOf("\xF0" "olssv"));
}

TEST(Encrypt, KeyOfSmallLettersAndZerosOnlyReplacesTabAndLineEnds) {
    const Keys keys = keysFromFile("abcdef00\r\nxyz0\r\n");
    EXPECT_EQ(encrypted("a\tb\r\nc~\xFC", keys), (std::vector<int>{240, 'a', 255, 'b', 253, 254, 'c', '~', 252}));
}

TEST(Encrypt, LoneLastCharacterOfAKeyLineCountsTwice) {
    // "1F" gives 16, the lone "5" gives 10.
    EXPECT_EQ(encrypted("AAA", keysFromFile("1F\r\n5")), codesOf("\xF0QKQ"));
    EXPECT_EQ(encrypted("A", keysFromFile("F\r\n")), codesOf("\xF0_"));
}

TEST(Encrypt, CodesFrom123UpAreNeverWrapped) {
    EXPECT_EQ(encrypted("{", {5}), (std::vector<int>{240, 128}));
    EXPECT_EQ(encrypted("{", {30}), (std::vector<int>{240, 153}));
    for (int k = 0; k <= 12; ++k) {
        EXPECT_EQ(encrypted(codes({240}), {static_cast<std::uint8_t>(k)}), (std::vector<int>{240, 240 + k})) << "k " << k;
    }
}

// A cipher code of 253 to 255 reads back as a line break or tab, and controls
// would not come back as themselves: each is refused where it stands, with what
// to do about it.
TEST(Encrypt, CharactersThatWouldNotComeBackAreRefused) {
    // "\xE9t\xE9" is "été"; 233 + 21 = 254 would read back as a line feed.
    Result<secret::String> accent = encryptText("\xE9t\xE9", Keys{0, 0, 21});
    ASSERT_FALSE(accent.ok());
    EXPECT_EQ(accent.error().kind, Error::Kind::EncryptedCodeReserved);
    EXPECT_EQ(accent.error().position, 3u);
    const std::string message = messages::describe(accent.error());
    EXPECT_NE(message.find("'\xC3\xA9'"), std::string::npos) << message;
    EXPECT_NE(message.find("position 3"), std::string::npos) << message;
    EXPECT_NE(message.find("use another key"), std::string::npos) << message;

    Result<secret::String> control = encryptText(codes({'A', 1}), Keys{9, 0});
    ASSERT_FALSE(control.ok());
    EXPECT_EQ(control.error().kind, Error::Kind::ControlCharacter);
    EXPECT_EQ(control.error().position, 2u);
    EXPECT_NE(messages::describe(control.error()).find("U+0001"), std::string::npos) << messages::describe(control.error());

    // 253 to 255 cannot be sent with any key, not even one of 0.
    Result<secret::String> thorn = encryptText(codes({254}), Keys{0});
    ASSERT_FALSE(thorn.ok());
    EXPECT_NE(messages::describe(thorn.error()).find("no key can encrypt it"), std::string::npos) << messages::describe(thorn.error());
}

TEST(Encrypt, CipherTextIsOneLongerThanTheText) {
    EXPECT_EQ(encrypted("x", {2}), (std::vector<int>{240, 'z'}));
    EXPECT_EQ(encrypted("", {2}), (std::vector<int>{240}));
}

TEST(Encrypt, CipherTextCanBeEncryptedAgain) {
    EXPECT_EQ(encrypted(codes({240, 'a'}), {3, 1}), (std::vector<int>{240, 243, 'b'}));
}

TEST(Encrypt, CodeAbove255IsNamedWithItsPosition) {
    Result<secret::String> r = encryptText(codes({'a', 'b', 250, 'c'}), Keys{0, 0, 6});
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().kind, Error::Kind::EncryptedCodeTooLarge);
    EXPECT_EQ(r.error().code, 250u);
    EXPECT_EQ(r.error().position, 3u);
    std::string message = messages::describe(r.error());
    EXPECT_NE(message.find("position 3"), std::string::npos) << message;
    EXPECT_NE(message.find("code 250"), std::string::npos) << message;

    Result<secret::String> marker = encryptText(codes({240}), Keys{16});
    ASSERT_FALSE(marker.ok());
    EXPECT_EQ(marker.error().position, 1u);
    EXPECT_EQ(marker.error().code, 240u);
}

TEST(Encrypt, FailureFarIntoALongTextIsNamedWithItsPosition) {
    std::string text(10000, 'a');
    text[9000] = static_cast<char>(255);
    text[9500] = static_cast<char>(255);
    Result<secret::String> r = encryptText(text, Keys{1, 2, 3});
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().kind, Error::Kind::EncryptedCodeTooLarge);
    EXPECT_EQ(r.error().position, 9001u);
    EXPECT_EQ(r.error().code, 255u);
}

// Decryption: the first code is dropped unread, the rest stepped back.

TEST(Decrypt, ThreeCharactersGiveTwo) {
    EXPECT_EQ(decrypted(codes({240, 'F', 38}), {5, 7}), codesOf("Az"));
}

TEST(Decrypt, CodeOf32ReentersTheRingAt123MinusK) {
    for (int k = 1; k <= 30; ++k) {
        EXPECT_EQ(decrypted(codes({240, 32}), {static_cast<std::uint8_t>(k)}), (std::vector<int>{123 - k})) << "k " << k;
    }
}

TEST(Decrypt, Codes253To255BecomeLineEndsAndTabAndUseUpKeyNumbers) {
    // 'f' after the line break is stepped back by the fourth key number.
    EXPECT_EQ(decrypted(codes({240, 'c', 253, 254, 'f'}), {1, 2, 3, 4}), (std::vector<int>{'b', 13, 10, 'b'}));
    EXPECT_EQ(decrypted(codes({240, 255, 'f'}), {30, 4}), (std::vector<int>{9, 'b'}));
}

TEST(Decrypt, OneCharacterGivesAnEmptyText) {
    EXPECT_EQ(decrypted("Q", {3}), std::vector<int>{});
    EXPECT_EQ(decrypted(codes({240}), {3}), std::vector<int>{});
    EXPECT_EQ(decrypted("", {3}), std::vector<int>{});
}

TEST(Decrypt, FirstCharacterIsDroppedWhateverItIs) {
    EXPECT_EQ(decrypted("Zcc", {1, 2}), codesOf("ba"));
    EXPECT_EQ(decrypted(codes({253, 'c', 'c'}), {1, 2}), codesOf("ba"));
}

TEST(Decrypt, InsertedLineBreakIsSteppedDownAndShiftsTheKeyStream) {
    EXPECT_EQ(decrypted(codes({240, 'd', 'f'}), {1, 2, 3, 4}), codesOf("cd"));
    // 13 - 2 and 10 - 3; 'f' now takes the fourth key number, two places on.
    EXPECT_EQ(decrypted(codes({240, 'd', 13, 10, 'f'}), {1, 2, 3, 4}), (std::vector<int>{'c', 11, 7, 'b'}));
}

TEST(Decrypt, AllZeroKeyOnlyDropsTheFirstAndReplacesTabAndLineEndCodes) {
    EXPECT_EQ(decrypted(codes({'X', 'a', 253, 254, 255, 240, 5}), keysFromFile("a0b0\r\n")),
              (std::vector<int>{'a', 13, 10, 9, 240, 5}));
}

TEST(Decrypt, CodeBelow0IsNamedWithItsPosition) {
    // Positions count in the cipher text, whose first character was dropped.
    Result<secret::String> r = decryptText(codes({240, 'a', 5}), Keys{1, 6});
    ASSERT_FALSE(r.ok());
    EXPECT_EQ(r.error().kind, Error::Kind::DecryptedCodeNegative);
    EXPECT_EQ(r.error().code, 5u);
    EXPECT_EQ(r.error().position, 3u);
    std::string message = messages::describe(r.error());
    EXPECT_NE(message.find("position 3"), std::string::npos) << message;
    EXPECT_NE(message.find("code 5"), std::string::npos) << message;

    Result<secret::String> lineBreak = decryptText(codes({240, 13, 10}), Keys{20});
    ASSERT_FALSE(lineBreak.ok());
    EXPECT_EQ(lineBreak.error().code, 13u);
    EXPECT_EQ(lineBreak.error().position, 2u);
}

TEST(Decrypt, CharactersOutsideTheRoundTripSetMayComeBackChanged) {
    // What older copies made of 5 with 30 (35) comes back as 5 + 91; 240 + 13 = 253 comes back as carriage return.
    EXPECT_EQ(decrypted(codes({240, 35}), {30}), (std::vector<int>{96}));
    EXPECT_EQ(decrypted(codes({240, 253}), {13}), (std::vector<int>{13}));
    // 5 + 26 = 31 stays below the ring and comes back.
    EXPECT_EQ(decrypted(codes({240, 31}), {26}), (std::vector<int>{5}));
}

// Feeding in pieces.

std::string randomText(std::size_t n, std::mt19937& random) {
    std::uniform_int_distribution<int> pick(0, 99);
    std::uniform_int_distribution<int> printable(32, 222);
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        int p = pick(random);
        int c = p == 0 ? 13 : p == 1 ? 10 : p == 2 ? 9 : printable(random);
        text.push_back(static_cast<char>(static_cast<unsigned char>(c)));
    }
    return text;
}

Keys randomKeys(std::size_t n, std::mt19937& random) {
    std::uniform_int_distribution<int> number(0, 30);
    Keys keys(n);
    for (auto& k : keys) k = static_cast<std::uint8_t>(number(random));
    return keys;
}

std::string feedInPieces(Direction direction, std::string_view input, const Keys& keys, std::mt19937& random,
                         std::size_t maxPiece) {
    TextTransformer transformer(direction, keys);
    secret::String out;
    std::uniform_int_distribution<std::size_t> size(0, maxPiece);
    std::size_t at = 0;
    while (at < input.size()) {
        std::size_t piece = std::min(size(random), input.size() - at);
        Status fed = transformer.feed(input.substr(at, piece), out);
        EXPECT_TRUE(fed.ok()) << messages::describe(fed.error());
        at += piece;
    }
    transformer.finish(out);
    return std::string(out);
}

TEST(TextTransformerPieces, ManySmallPiecesGiveTheSameBytesAsOneFeed) {
    std::mt19937 random(4242);
    const std::string text = randomText(50000, random);
    for (std::size_t keyLength : {std::size_t{1}, std::size_t{3}, std::size_t{1000}, std::size_t{4097}, std::size_t{5969}}) {
        const Keys keys = randomKeys(keyLength, random);
        Result<secret::String> whole = encryptText(text, keys);
        ASSERT_TRUE(whole.ok());
        for (std::size_t maxPiece : {std::size_t{1}, std::size_t{7}, std::size_t{300}, std::size_t{9000}}) {
            EXPECT_EQ(feedInPieces(Direction::Encrypt, text, keys, random, maxPiece), std::string_view(*whole))
                << "encrypt, key " << keyLength << ", pieces up to " << maxPiece;
            EXPECT_EQ(feedInPieces(Direction::Decrypt, *whole, keys, random, maxPiece), text)
                << "decrypt, key " << keyLength << ", pieces up to " << maxPiece;
        }
    }
}

TEST(TextTransformerPieces, MarkerIsWrittenOnceAndDroppedOnce) {
    const Keys keys = {1};
    TextTransformer encrypt(Direction::Encrypt, keys);
    secret::String out;
    ASSERT_TRUE(encrypt.feed("", out).ok());
    ASSERT_TRUE(encrypt.feed("a", out).ok());
    ASSERT_TRUE(encrypt.feed("", out).ok());
    ASSERT_TRUE(encrypt.feed("b", out).ok());
    encrypt.finish(out);
    EXPECT_EQ(codesOf(out), (std::vector<int>{240, 'b', 'c'}));

    TextTransformer empty(Direction::Encrypt, keys);
    secret::String marker;
    empty.finish(marker);
    EXPECT_EQ(codesOf(marker), (std::vector<int>{240}));

    TextTransformer decrypt(Direction::Decrypt, keys);
    secret::String back;
    ASSERT_TRUE(decrypt.feed("", back).ok());
    ASSERT_TRUE(decrypt.feed("X", back).ok());
    ASSERT_TRUE(decrypt.feed("bc", back).ok());
    decrypt.finish(back);
    EXPECT_EQ(back, "ab");
}

TEST(TextTransformerPieces, ErrorPositionCountsAcrossPieces) {
    TextTransformer decrypt(Direction::Decrypt, Keys{1, 1, 10});
    secret::String out;
    ASSERT_TRUE(decrypt.feed(codes({240, 'b'}), out).ok());
    Status failed = decrypt.feed(codes({'c', 5}), out);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().kind, Error::Kind::DecryptedCodeNegative);
    EXPECT_EQ(failed.error().position, 4u);
    EXPECT_EQ(failed.error().code, 5u);
}

TEST(TextTransformerPieces, FailedFeedLeavesOutputAndKeyStreamAsTheyWere) {
    const Keys keys = {10, 20, 30, 1};
    TextTransformer encrypt(Direction::Encrypt, keys);
    secret::String out = "kept";
    ASSERT_TRUE(encrypt.feed("abc", out).ok());
    const secret::String before = out;

    // 250 + 10 has no code; it is the fifth code of the text.
    Status failed = encrypt.feed(codes({'d', 250, 'e'}), out);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().kind, Error::Kind::EncryptedCodeTooLarge);
    EXPECT_EQ(failed.error().position, 5u);
    EXPECT_EQ(failed.error().code, 250u);
    EXPECT_EQ(out, before);

    ASSERT_TRUE(encrypt.feed("def", out).ok());
    encrypt.finish(out);
    // a+10 b+20 c+30 d+1 e+10 f+20; c passes 122 and re-enters the ring at 32.
    EXPECT_EQ(out, "kept\xF0kv&eoz");
}

TEST(TextTransformerPieces, FailedFirstFeedWritesNoMarker) {
    TextTransformer encrypt(Direction::Encrypt, Keys{16});
    secret::String out;
    ASSERT_FALSE(encrypt.feed(codes({'a', 240}), out).ok());
    EXPECT_TRUE(out.empty());
    ASSERT_TRUE(encrypt.feed("ab", out).ok());
    encrypt.finish(out);
    EXPECT_EQ(codesOf(out), (std::vector<int>{240, 'q', 'r'}));
}

TEST(TextTransformerPieces, FailedFirstFeedStillDropsTheFirstCodeOfTheNextFeed) {
    TextTransformer decrypt(Direction::Decrypt, Keys{10});
    secret::String out;
    Status failed = decrypt.feed(codes({240, 'a', 5}), out);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().position, 3u);
    EXPECT_TRUE(out.empty());
    ASSERT_TRUE(decrypt.feed("Qk", out).ok());
    decrypt.finish(out);
    EXPECT_EQ(out, "a");
}

TEST(TextTransformerPieces, FailureAfterManyKeyPeriodsRewindsExactly) {
    std::mt19937 random(99);
    for (std::size_t keyLength : {std::size_t{3}, std::size_t{4096}, std::size_t{5000}}) {
        const Keys keys = randomKeys(keyLength, random);
        // The failing piece crosses the end of the key stream's period.
        const std::string first = randomText(60000, random);
        std::string bad = randomText(9000, random);
        bad[8999] = static_cast<char>(255);
        // 255 has no code with any key number but 0.
        std::string good = randomText(9000, random);
        const std::string last = randomText(3000, random);

        TextTransformer encrypt(Direction::Encrypt, keys);
        secret::String out;
        ASSERT_TRUE(encrypt.feed(first, out).ok());
        const std::size_t keyAt = (60000 + 8999) % keyLength;
        if (keys[keyAt] != 0) {
            Status failed = encrypt.feed(bad, out);
            ASSERT_FALSE(failed.ok());
            EXPECT_EQ(failed.error().position, 69000u);
            EXPECT_EQ(out.size(), 60001u);
        }
        ASSERT_TRUE(encrypt.feed(good, out).ok());
        ASSERT_TRUE(encrypt.feed(last, out).ok());
        encrypt.finish(out);
        Result<secret::String> whole = encryptText(first + good + last, keys);
        ASSERT_TRUE(whole.ok());
        EXPECT_EQ(out, *whole) << "key length " << keyLength;
    }
}

// Feeding into a caller's buffer.

TEST(TextTransformerBuffer, EachFeedWritesExactlyItsResultSize) {
    std::mt19937 random(5);
    const Keys keys = randomKeys(17, random);
    const std::string text = randomText(3000, random);
    Result<secret::String> whole = encryptText(text, keys);
    ASSERT_TRUE(whole.ok());
    for (Direction direction : {Direction::Encrypt, Direction::Decrypt}) {
        const std::string_view input = direction == Direction::Encrypt ? std::string_view(text) : std::string_view(*whole);
        TextTransformer transformer(direction, keys);
        secret::String result;
        std::size_t at = 0;
        for (std::size_t piece : std::initializer_list<std::size_t>{0, 1, 0, 2, 31, 32, 33, 500, 2000, 5000}) {
            piece = std::min(piece, input.size() - at);
            const std::size_t size = transformer.resultSize(piece);
            std::string buffer(size + 8, '#');
            ASSERT_TRUE(transformer.feed(std::string_view(input).substr(at, piece), buffer.data()).ok());
            EXPECT_EQ(buffer.substr(size), "########") << "written past the result, piece " << piece;
            result.append(buffer, 0, size);
            at += piece;
        }
        ASSERT_EQ(at, input.size());
        transformer.finish(result);
        EXPECT_EQ(std::string_view(result), direction == Direction::Encrypt ? std::string_view(*whole) : text);
    }
}

TEST(TextTransformerBuffer, TextsTooLargeForTheCacheGiveTheSameBytesAsPieces) {
    // Large feeds store around the cache; the bytes and the failures must not change.
    std::mt19937 random(8);
    const Keys keys = randomKeys(5969, random);
    const std::string text = randomText((std::size_t{9} << 20) + 123, random);
    Result<secret::String> whole = encryptText(text, keys);
    ASSERT_TRUE(whole.ok());
    EXPECT_EQ(feedInPieces(Direction::Encrypt, text, keys, random, 1 << 20), std::string_view(*whole));
    Result<secret::String> back = decryptText(*whole, keys);
    ASSERT_TRUE(back.ok());
    EXPECT_TRUE(std::string_view(*back) == text);

    std::string bad = text;
    bad[bad.size() - 3] = static_cast<char>(5);
    std::string badCipher(*whole);
    badCipher[badCipher.size() - 3] = static_cast<char>(5);
    const std::size_t keyAt = (bad.size() - 3) % keys.size();
    if (keys[keyAt] > 5) {
        Result<secret::String> failed = decryptText(badCipher, keys);
        ASSERT_FALSE(failed.ok());
        EXPECT_EQ(failed.error().position, badCipher.size() - 2);
    }
    bad[bad.size() - 3] = static_cast<char>(250);
    if (keys[keyAt] > 5) {
        Result<secret::String> failed = encryptText(bad, keys);
        ASSERT_FALSE(failed.ok());
        EXPECT_EQ(failed.error().position, bad.size() - 2);
    }
}

} // namespace
} // namespace tarvex::cipher::test
