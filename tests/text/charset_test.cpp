// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/character_names.h"
#include "text/charset.h"
#include "messages/messages.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <utility>

namespace tarvex::text::test {
namespace {

using tarvex::test::codes;
using tarvex::test::codesOf;

std::string allCodes() {
    std::string all;
    for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(static_cast<unsigned char>(c)));
    return all;
}

TEST(CharsetCodes, AsciiAndLatin1CodesAreTheirOwnCharacters) {
    for (int c = 0; c < 0x80; ++c) {
        EXPECT_EQ(text::charset::toUnicode(static_cast<std::uint8_t>(c)), static_cast<char32_t>(c)) << c;
    }
    for (int c = 0xA0; c < 0x100; ++c) {
        EXPECT_EQ(text::charset::toUnicode(static_cast<std::uint8_t>(c)), static_cast<char32_t>(c)) << c;
    }
}

TEST(CharsetCodes, Codes80To9FFollowWindows1252WithUndefinedBytesAsC1Controls) {
    const std::array<std::pair<int, char32_t>, 32> expected = {{
        {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026},
        {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160}, {0x8B, 0x2039},
        {0x8C, 0x0152}, {0x8D, 0x008D}, {0x8E, 0x017D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x91, 0x2018},
        {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014},
        {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153}, {0x9D, 0x009D},
        {0x9E, 0x017E}, {0x9F, 0x0178},
    }};
    for (auto [code, ch] : expected) {
        EXPECT_EQ(text::charset::toUnicode(static_cast<std::uint8_t>(code)), ch) << "code " << code;
        EXPECT_EQ(text::charset::fromUnicode(ch), std::optional<std::uint8_t>(static_cast<std::uint8_t>(code))) << "code " << code;
    }
}

TEST(CharsetCodes, EveryCodeRoundTripsThroughUnicode) {
    std::set<char32_t> seen;
    for (int c = 0; c < 256; ++c) {
        const auto code = static_cast<std::uint8_t>(c);
        char32_t ch = text::charset::toUnicode(code);
        EXPECT_TRUE(seen.insert(ch).second) << "two codes share U+" << std::hex << static_cast<unsigned>(ch);
        EXPECT_EQ(text::charset::fromUnicode(ch), std::optional<std::uint8_t>(code)) << c;
    }
}

TEST(CharsetCodes, ExactlyTheImagesOfTheCodesHaveACode) {
    int withCode = 0;
    for (char32_t ch = 0; ch < 0x110000; ++ch) {
        if (std::optional<std::uint8_t> code = text::charset::fromUnicode(ch)) {
            ++withCode;
            EXPECT_EQ(text::charset::toUnicode(*code), ch);
        }
    }
    EXPECT_EQ(withCode, 256);
}

TEST(CharsetCodes, CharactersOutsideTheSetHaveNoCode) {
    // U+0080 and U+0082 are C1 controls whose bytes Windows-1252 gives to other characters.
    for (char32_t ch : {char32_t{0x80}, char32_t{0x82}, char32_t{0x9F}, char32_t{0x100}, char32_t{0x20AB},
                        char32_t{0xFFFD}, char32_t{0x1F600}}) {
        EXPECT_FALSE(text::charset::fromUnicode(ch).has_value()) << std::hex << static_cast<unsigned>(ch);
    }
}

TEST(CharsetUtf8, EncodesByTheLengthOfTheCharacter) {
    std::string out;
    text::charset::appendUtf8(out, U'A');
    text::charset::appendUtf8(out, 0xE9);
    text::charset::appendUtf8(out, 0x20AC);
    text::charset::appendUtf8(out, 0x1F600);
    EXPECT_EQ(codesOf(out), codesOf(codes({0x41, 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80})));
}

TEST(CharsetUtf8, CodesBecomeTheirCharactersInUtf8) {
    EXPECT_EQ(text::charset::toUtf8(codes({'H', 'i', 0x80, 0xE9, 0x81, 0x99, 0x00})),
              codes({'H', 'i', 0xE2, 0x82, 0xAC, 0xC3, 0xA9, 0xC2, 0x81, 0xE2, 0x84, 0xA2, 0x00}));
    EXPECT_EQ(text::charset::toUtf8(""), "");
}

TEST(CharsetUtf8, AllCodesRoundTripThroughUtf8) {
    const std::string all = allCodes();
    const secret::String utf8 = text::charset::toUtf8(all);
    Result<secret::String> back = text::charset::fromUtf8(utf8);
    ASSERT_TRUE(back.ok()) << messages::describe(back.error());
    EXPECT_EQ(codesOf(*back), codesOf(all));
}

TEST(CharsetUtf8, DecodesToCodes) {
    Result<secret::String> decoded = text::charset::fromUtf8("\xE2\x82\xAC" "5 caf\xC3\xA9\r\n\xC5\xB8");
    ASSERT_TRUE(decoded.ok()) << messages::describe(decoded.error());
    EXPECT_EQ(codesOf(*decoded), codesOf(codes({0x80, '5', ' ', 'c', 'a', 'f', 0xE9, '\r', '\n', 0x9F})));
}

TEST(CharsetUtf8, CharacterOutsideTheSetIsNamedWithItsPosition) {
    // a, b, €, c, then U+0100 as the fifth character (its bytes start at byte 7).
    Result<secret::String> decoded = text::charset::fromUtf8("ab\xE2\x82\xAC" "c\xC4\x80" "d");
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.error().kind, Error::Kind::CharacterNotInSet);
    EXPECT_EQ(decoded.error().code, 0x100u);
    EXPECT_EQ(decoded.error().position, 5u);
    std::string message = messages::describe(decoded.error());
    EXPECT_NE(message.find("U+0100"), std::string::npos) << message;
    EXPECT_NE(message.find("position 5"), std::string::npos) << message;
}

TEST(CharsetUtf8, FirstOfSeveralCharactersOutsideTheSetIsNamed) {
    Result<secret::String> decoded = text::charset::fromUtf8("x\xF0\x9F\x98\x80\xC4\x80");
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.error().kind, Error::Kind::CharacterNotInSet);
    EXPECT_EQ(decoded.error().code, 0x1F600u);
    EXPECT_EQ(decoded.error().position, 2u);
}

struct MalformedCase {
    const char* name;
    std::string bytes;
    std::uint64_t position; // byte, from 1, where the malformed sequence starts
};

std::vector<MalformedCase> malformedCases() {
    return {
        {"lone continuation byte", "ab\x80" "c", 3},
        {"byte FF", "\xFF", 1},
        {"lead byte F5", "abc\xF5\x80\x80\x80", 4},
        {"overlong two-byte C0", "\xC0\x80", 1},
        {"overlong two-byte C1", "a\xC1\xBF", 2},
        {"overlong three-byte", "\xE0\x80\xAF", 1},
        {"overlong four-byte", "z\xF0\x82\x82\xAC", 2},
        {"high surrogate", "x\xED\xA0\x80", 2},
        {"low surrogate", "xy\xED\xBF\xBF", 3},
        {"above U+10FFFF", "\xF4\x90\x80\x80", 1},
        {"truncated at the end, two-byte", "ab\xC3", 3},
        {"truncated at the end, three-byte", "ab\xE2\x82", 3},
        {"truncated at the end, four-byte", "ab\xF0\x9F\x98", 3},
        {"two-byte cut by ASCII", "ab\xC3z", 3},
        {"three-byte cut by ASCII after its lead", "ab\xE2z", 3},
        {"three-byte cut by ASCII after its lead, more follows", "ab\xE2zz", 3},
        {"three-byte cut by ASCII after two bytes", "ab\xE2\x82z", 3},
        {"four-byte cut by a new lead", "a\xF0\x9F\xC3\xA9", 2},
    };
}

TEST(CharsetUtf8, MalformedInputFailsAtTheStartOfTheBadSequence) {
    for (const MalformedCase& c : malformedCases()) {
        Result<secret::String> decoded = text::charset::fromUtf8(c.bytes);
        ASSERT_FALSE(decoded.ok()) << c.name;
        EXPECT_EQ(decoded.error().kind, Error::Kind::InvalidUtf8) << c.name;
        EXPECT_EQ(decoded.error().position, c.position) << c.name;
    }
}

// Feeds the pieces one after the other and ends; the first failure, if any.
Result<secret::String> decodeInPieces(const std::vector<std::string>& pieces) {
    text::charset::Utf8ToCodes decoder;
    secret::String out;
    for (const std::string& piece : pieces) {
        if (Status fed = decoder.feed(piece, out); !fed) return fed.error();
    }
    if (Status finished = decoder.finish(); !finished) return finished.error();
    return out;
}

std::vector<std::string> oneBytePieces(const std::string& bytes) {
    std::vector<std::string> pieces;
    for (char c : bytes) pieces.emplace_back(1, c);
    return pieces;
}

TEST(CharsetUtf8Pieces, ValidTextGivesTheSameCodesWhereverItIsSplit) {
    const std::string text = "A\xC3\xA9\xE2\x82\xAC" "b\xC5\xB8\xE2\x84\xA2\r\n";
    const std::vector<int> expected = codesOf(codes({'A', 0xE9, 0x80, 'b', 0x9F, 0x99, '\r', '\n'}));
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        for (std::size_t cut2 = cut; cut2 <= text.size(); ++cut2) {
            Result<secret::String> decoded =
                decodeInPieces({text.substr(0, cut), text.substr(cut, cut2 - cut), text.substr(cut2)});
            ASSERT_TRUE(decoded.ok()) << cut << "/" << cut2 << ": " << messages::describe(decoded.error());
            EXPECT_EQ(codesOf(*decoded), expected) << cut << "/" << cut2;
        }
    }
    Result<secret::String> byByte = decodeInPieces(oneBytePieces(text));
    ASSERT_TRUE(byByte.ok());
    EXPECT_EQ(codesOf(*byByte), expected);
}

TEST(CharsetUtf8Pieces, CountsCharactersAcrossPieces) {
    text::charset::Utf8ToCodes decoder;
    secret::String out;
    ASSERT_TRUE(decoder.feed("a\xC3", out).ok());
    EXPECT_EQ(decoder.charactersDone(), 1u);
    EXPECT_EQ(codesOf(out), codesOf(codes({'a'})));
    EXPECT_FALSE(decoder.finish().ok()) << "input ended inside a character";
    ASSERT_TRUE(decoder.feed("\xA9z", out).ok());
    EXPECT_EQ(decoder.charactersDone(), 3u);
    EXPECT_TRUE(decoder.finish().ok());
    EXPECT_EQ(codesOf(out), codesOf(codes({'a', 0xE9, 'z'})));
}

TEST(CharsetUtf8Pieces, CharacterOutsideTheSetSplitAcrossPiecesIsNamedAtItsPosition) {
    // The emoji's four bytes arrive one piece each.
    Result<secret::String> decoded = decodeInPieces({"ab", "\xF0", "\x9F", "\x98", "\x80" "c"});
    ASSERT_FALSE(decoded.ok());
    EXPECT_EQ(decoded.error().kind, Error::Kind::CharacterNotInSet);
    EXPECT_EQ(decoded.error().code, 0x1F600u);
    EXPECT_EQ(decoded.error().position, 3u);
}

TEST(CharsetUtf8Pieces, MalformedInputFailsAtTheSamePositionWhereverItIsSplit) {
    for (const MalformedCase& c : malformedCases()) {
        for (std::size_t cut = 0; cut <= c.bytes.size(); ++cut) {
            Result<secret::String> decoded = decodeInPieces({c.bytes.substr(0, cut), c.bytes.substr(cut)});
            ASSERT_FALSE(decoded.ok()) << c.name << ", cut " << cut;
            EXPECT_EQ(decoded.error().kind, Error::Kind::InvalidUtf8) << c.name << ", cut " << cut;
            EXPECT_EQ(decoded.error().position, c.position) << c.name << ", cut " << cut;
        }
        Result<secret::String> byByte = decodeInPieces(oneBytePieces(c.bytes));
        ASSERT_FALSE(byByte.ok()) << c.name;
        EXPECT_EQ(byByte.error().position, c.position) << c.name << ", one byte a piece";
    }
}

// Every path this processor has must give what one character at a time gives.
const char* pathName(simd::Path path) {
    switch (path) {
    case simd::Path::Portable:
    case simd::Path::Vector16: return "16 bytes";
    case simd::Path::Avx2: return "AVX2";
    case simd::Path::Avx512: return "AVX-512";
    }
    return "?";
}

std::string encodeWith(simd::Path path, std::string_view codes) {
    std::string out(3 * codes.size(), '\0');
    out.resize(text::charset::writeAsUtf8(codes, out.data(), path));
    return out;
}

std::string utf8OneByOne(std::string_view codes) {
    std::string out;
    for (char c : codes) text::charset::appendUtf8(out, text::charset::toUnicode(static_cast<std::uint8_t>(c)));
    return out;
}

Result<secret::String> decodeWith(simd::Path path, std::string_view utf8, std::size_t cut) {
    text::charset::Utf8ToCodes decoder(path);
    secret::String out;
    if (Status fed = decoder.feed(utf8.substr(0, cut), out); !fed) return fed.error();
    if (Status fed = decoder.feed(utf8.substr(cut), out); !fed) return fed.error();
    if (Status finished = decoder.finish(); !finished) return finished.error();
    return out;
}

TEST(CharsetPaths, EncodeEveryKindOfCodeAtEveryOffsetOfABlock) {
    // ASCII, a C1 control (two bytes), a Windows-1252 letter (three) and Latin-1.
    const std::string kinds = codes({0x7F, 0x81, 0x80, 0x9F, 0xA0, 0xC4, 0xFF});
    for (simd::Path path : text::availablePaths()) {
        for (std::size_t size : {15u, 16u, 17u, 31u, 32u, 33u, 63u, 64u, 65u, 100u, 127u, 128u, 129u, 200u}) {
            for (std::size_t at = 0; at < size; ++at) {
                for (char kind : kinds) {
                    std::string text(size, 'a');
                    text[at] = kind;
                    if (at + 1 < size) text[at + 1] = kinds[(at + size) % kinds.size()];
                    ASSERT_EQ(encodeWith(path, text), utf8OneByOne(text)) << pathName(path) << ", size " << size << " at " << at;
                }
            }
        }
        std::string every; // every code next to every other
        for (int shift = 1; shift < 8; ++shift) {
            for (int c = 0; c < 256; ++c) every.push_back(static_cast<char>((c * shift) & 0xFF));
        }
        EXPECT_EQ(encodeWith(path, every), utf8OneByOne(every)) << pathName(path);
    }
}

TEST(CharsetPaths, AsciiRunOfAnyLengthThenAnyCharacterOfTheSetDecodes) {
    const std::vector<std::pair<std::string, int>> characters = {
        {"\xC3\x84", 0xC4}, {"\xC2\xA0", 0xA0}, {"\xC2\x81", 0x81}, {"\xE2\x82\xAC", 0x80}, {"\xC5\xB8", 0x9F}};
    const std::string tail(70, 'z');
    for (simd::Path path : text::availablePaths()) {
        for (std::size_t run = 0; run <= 140; ++run) {
            for (const auto& [utf8, code] : characters) {
                Result<secret::String> decoded = decodeWith(path, std::string(run, 'x') + utf8 + tail, 0);
                ASSERT_TRUE(decoded.ok()) << pathName(path) << ", run " << run << ": " << messages::describe(decoded.error());
                EXPECT_EQ(codesOf(*decoded), codesOf(std::string(run, 'x') + codes({code}) + tail))
                    << pathName(path) << ", run " << run;
            }
        }
    }
}

TEST(CharsetPaths, FaultAfterALongRunIsReportedAtItsPosition) {
    struct Fault {
        std::string bytes;
        Error::Kind kind;
    };
    const std::vector<Fault> faults = {
        {"\x80", Error::Kind::InvalidUtf8},          {"\xC3z", Error::Kind::InvalidUtf8},
        {"\xC3\xC3\x84", Error::Kind::InvalidUtf8}, {"\xE0\x80\xAF", Error::Kind::InvalidUtf8},
        {"\xC2\x80", Error::Kind::CharacterNotInSet}, {"\xC4\x80", Error::Kind::CharacterNotInSet},
    };
    for (simd::Path path : text::availablePaths()) {
        for (std::size_t run = 0; run <= 140; ++run) {
            // Runs of ASCII and of two-byte characters, so bytes and characters count apart.
            for (const std::string& unit : {std::string("x"), std::string("\xC3\xA9")}) {
                std::string before;
                for (std::size_t i = 0; i < run; ++i) before += unit;
                for (const Fault& fault : faults) {
                    Result<secret::String> decoded = decodeWith(path, before + fault.bytes + std::string(70, 'y'), 0);
                    ASSERT_FALSE(decoded.ok()) << pathName(path) << ", run " << run;
                    EXPECT_EQ(decoded.error().kind, fault.kind) << pathName(path) << ", run " << run;
                    const std::uint64_t expected = fault.kind == Error::Kind::InvalidUtf8 ? before.size() + 1 : run + 1;
                    EXPECT_EQ(decoded.error().position, expected) << pathName(path) << ", run " << run << ", unit of "
                                                                 << unit.size();
                }
            }
        }
    }
}

TEST(CharsetPaths, TwoByteCharactersAtAnyOffsetSplitAnywhereDecodeAlike) {
    for (simd::Path path : text::availablePaths()) {
        for (std::size_t at = 0; at < 140; ++at) {
            // One character alone at `at`, then two side by side, as in dense text.
            std::string text = std::string(at, 'a') + "\xC3\xA9" + std::string(9, 'b') + "\xC3\x84\xC2\xBF" + std::string(70, 'c');
            const std::vector<int> expected =
                codesOf(std::string(at, 'a') + codes({0xE9}) + std::string(9, 'b') + codes({0xC4, 0xBF}) + std::string(70, 'c'));
            for (std::size_t cut = 0; cut <= text.size(); ++cut) {
                Result<secret::String> decoded = decodeWith(path, text, cut);
                ASSERT_TRUE(decoded.ok()) << pathName(path) << ", at " << at << ", cut " << cut;
                ASSERT_EQ(codesOf(*decoded), expected) << pathName(path) << ", at " << at << ", cut " << cut;
            }
        }
        std::string dense;
        for (int i = 0; i < 100; ++i) dense += (i % 3 == 0) ? "\xC3\xBF" : "\xC2\xA3";
        Result<secret::String> decoded = decodeWith(path, dense, 0);
        ASSERT_TRUE(decoded.ok()) << pathName(path);
        EXPECT_EQ(text::charset::toUtf8(*decoded), dense) << pathName(path);
    }
}

TEST(CharsetDescribe, NamesPrintableCharactersAndControlsByNumber) {
    EXPECT_EQ(text::charset::describeCharacter(0xE9), "'\xC3\xA9' (U+00E9)");
    EXPECT_EQ(text::charset::describeCharacter(0x1F600), "'\xF0\x9F\x98\x80' (U+1F600)");
    EXPECT_EQ(text::charset::describeCharacter(0x0A), "U+000A");
    EXPECT_EQ(text::charset::describeCode(0x80), "'\xE2\x82\xAC' (U+20AC) of code 128");
    EXPECT_EQ(text::charset::describeCode(0x81), "U+0081 of code 129");
}

} // namespace
} // namespace tarvex::text::test
