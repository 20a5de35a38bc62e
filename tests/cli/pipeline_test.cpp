// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/decrypt_pipeline.h"
#include "cli/encrypt_pipeline.h"
#include "messages/messages.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace tarvex::cli::test {
namespace {

using PipelineFactory = std::function<std::unique_ptr<Pipeline>()>;

// Feeds `input` cut at the given offsets; returns the output or the error text.
std::string runInPieces(const PipelineFactory& make, std::string_view input, const std::vector<std::size_t>& cuts) {
    std::unique_ptr<Pipeline> pipeline = make();
    std::string out;
    std::size_t start = 0;
    std::vector<std::size_t> ends = cuts;
    ends.push_back(input.size());
    for (std::size_t end : ends) {
        if (Status st = pipeline->push(input.substr(start, end - start), out); !st) return "error: " + messages::describe(st.error());
        start = end;
    }
    if (Status st = pipeline->finish(out); !st) return "error: " + messages::describe(st.error());
    return out;
}

// The same result whole, and cut once at every place, and cut at every byte.
void expectSameInAnyPieces(const PipelineFactory& make, std::string_view input, const std::string& expected) {
    EXPECT_EQ(runInPieces(make, input, {}), expected) << "whole";
    for (std::size_t cut = 0; cut <= input.size(); ++cut) {
        EXPECT_EQ(runInPieces(make, input, {cut}), expected) << "cut at " << cut;
    }
    std::vector<std::size_t> everyByte;
    for (std::size_t i = 1; i < input.size(); ++i) everyByte.push_back(i);
    EXPECT_EQ(runInPieces(make, input, everyByte), expected) << "cut at every byte";
}

const std::vector<std::uint8_t> kZeroKey = {0};
const std::vector<std::uint8_t> kOneTwo = {1, 2};

PipelineFactory encryptor(Encoding encoding, const std::vector<std::uint8_t>& key,
                          simd::Path path = simd::fastestPath()) {
    return [=] { return std::make_unique<EncryptPipeline>(encoding, key, path); };
}

PipelineFactory decryptor(Encoding encoding, const std::vector<std::uint8_t>& key,
                          simd::Path path = simd::fastestPath()) {
    return [=] { return std::make_unique<DecryptPipeline>(encoding, key, "in.txt", path); };
}

TEST(EncryptPipeline, Utf8TurnsLoneLineFeedsIntoWindowLineBreaks) {
    // With a zero key only the marker and the line-break codes show: ð = 240, ý = 253, þ = 254.
    expectSameInAnyPieces(encryptor(Encoding::Utf8, kZeroKey), "a\nb\r\nc\n", "ðaýþbýþcýþ\n");
}

TEST(EncryptPipeline, Utf8StepsEachCodeByItsKeyNumber) {
    // é (233) + 1 = ê (234); "z" (122) + 2 wraps to 33 "!".
    expectSameInAnyPieces(encryptor(Encoding::Utf8, kOneTwo), "éz", "ðê!\n");
}

TEST(EncryptPipeline, Cp1252KeepsBytesAndEndsWithCarriageReturnLineFeed) {
    // "z" + 1 wraps to " "; the line feed uses up the 2.
    expectSameInAnyPieces(encryptor(Encoding::Cp1252, kOneTwo), "a\nz", "\xF0" "b\xFE \r\n");
}

TEST(EncryptPipeline, EmptyMessageIsTheMarkerAlone) {
    EXPECT_EQ(runInPieces(encryptor(Encoding::Utf8, kOneTwo), "", {}), "ð\n");
    EXPECT_EQ(runInPieces(encryptor(Encoding::Cp1252, kOneTwo), "", {}), "\xF0\r\n");
}

TEST(EncryptPipeline, FaultPositionCountsTheInputsOwnCharacters) {
    // "ÿ" (255) + 1 has no code. It is the 4th character typed, though the
    // added CR makes it the 5th code encrypted.
    const std::vector<std::uint8_t> one = {1};
    std::string text = "ab\nÿ";
    std::string expected = "error: in 'in.txt', ";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        std::string result = runInPieces(encryptor(Encoding::Utf8, one), text, {cut});
        EXPECT_NE(result.find("at position 4 "), std::string::npos) << "cut at " << cut << ": " << result;
    }
}

TEST(EncryptPipeline, RejectsCharactersOutsideTheSetAndBrokenUtf8) {
    std::string outside = runInPieces(encryptor(Encoding::Utf8, kZeroKey), "ok €uro ā", {});
    EXPECT_NE(outside.find("U+0101"), std::string::npos) << outside;
    EXPECT_NE(outside.find("position 9"), std::string::npos) << outside;

    std::string truncated = runInPieces(encryptor(Encoding::Utf8, kZeroKey), "ab\xC3", {});
    EXPECT_NE(truncated.find("not valid UTF-8 at byte 3"), std::string::npos) << truncated;
}

// A message several steps long, built beside what a zero key makes of it: the
// marker, then the codes as they are but line breaks as ý (CR) þ (LF). Lines
// end in LF, CR LF or a lone CR and are short, so with every shift of the
// start some step boundary falls at each place within a line break or a
// two-byte character.
struct LongMessage {
    std::string text, cipherText;
};

LongMessage longMessage(std::size_t shift) {
    const std::vector<std::pair<std::string, std::string>> fragments = {
        {"ab", "ab"}, {"\xC3\xA9", "\xC3\xA9"}, {"\n", "\xC3\xBD\xC3\xBE"}, {"\xC3\x84", "\xC3\x84"},
        {"\r\n", "\xC3\xBD\xC3\xBE"}, {"c", "c"}, {"\r ", "\xC3\xBD "}, {"\n", "\xC3\xBD\xC3\xBE"}};
    LongMessage m{std::string(shift, 'p'), "\xC3\xB0" + std::string(shift, 'p')};
    for (std::size_t i = 0; m.text.size() < 3 * kStepSize + 100; ++i) {
        m.text += fragments[i % fragments.size()].first;
        m.cipherText += fragments[i % fragments.size()].second;
    }
    return m;
}

std::vector<std::size_t> cutsEvery(std::size_t stride, std::size_t size) {
    std::vector<std::size_t> cuts;
    for (std::size_t at = stride; at < size; at += stride) cuts.push_back(at);
    return cuts;
}

// Every way this processor has to run the passes over the text.
std::vector<simd::Path> paths() {
    return text::availablePaths();
}

TEST(EncryptPipeline, LongUtf8MessageGetsWindowLineBreaksAcrossSteps) {
    for (simd::Path path : paths()) {
        for (std::size_t shift = 0; shift < 20; ++shift) {
            const LongMessage m = longMessage(shift);
            for (std::size_t stride : {m.text.size(), kStepSize + 3, std::size_t{4093}}) {
                ASSERT_EQ(runInPieces(encryptor(Encoding::Utf8, kZeroKey, path), m.text, cutsEvery(stride, m.text.size())),
                          m.cipherText + "\n")
                    << "path " << static_cast<int>(path) << ", shift " << shift << ", pieces of " << stride;
            }
        }
    }
}

TEST(DecryptPipeline, LongUtf8CipherTextGivesLineFeedsBackAcrossSteps) {
    for (std::size_t shift = 0; shift < 20; ++shift) {
        const LongMessage m = longMessage(shift);
        std::string message; // CR LF comes back as LF; a lone CR stays
        for (std::size_t i = 0; i < m.text.size(); ++i) {
            if (!(m.text[i] == '\r' && i + 1 < m.text.size() && m.text[i + 1] == '\n')) message += m.text[i];
        }
        for (simd::Path path : paths()) {
            for (std::size_t stride : {m.cipherText.size(), kStepSize + 3, std::size_t{4093}}) {
                ASSERT_EQ(runInPieces(decryptor(Encoding::Utf8, kZeroKey, path), m.cipherText,
                                      cutsEvery(stride, m.cipherText.size())),
                          message)
                    << "path " << static_cast<int>(path) << ", shift " << shift << ", pieces of " << stride;
            }
        }
    }
}

TEST(Pipelines, DenseLineBreaksComeOutAlikeOnEveryPath) {
    // CR CR LF, LF LF and CR LF pairs across blocks, with a zero key; what
    // each should become is worked out a character at a time.
    std::mt19937 random(7);
    const std::vector<std::string> fragments = {"\r", "\n", "a", "\xC3\xA9"};
    std::vector<std::string> texts;
    for (std::size_t size = 0; size < 300; size += 7) {
        std::string text;
        while (text.size() < size) text += fragments[random() % fragments.size()];
        texts.push_back(text);
    }
    for (std::size_t at = 0; at < 130; ++at) texts.push_back(std::string(at, 'a') + "\r\n" + std::string(80, 'b'));
    for (const std::string& text : texts) {
        const std::size_t size = text.size();
        std::string cipherText = "\xC3\xB0";
        std::string message;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool afterCarriageReturn = i > 0 && text[i - 1] == '\r';
            const bool beforeLineFeed = i + 1 < text.size() && text[i + 1] == '\n';
            if (text[i] == '\r') {
                cipherText += "\xC3\xBD";
            } else if (text[i] == '\n') {
                cipherText += afterCarriageReturn ? "\xC3\xBE" : "\xC3\xBD\xC3\xBE";
            } else {
                cipherText += text[i];
            }
            if (!(text[i] == '\r' && beforeLineFeed)) message += text[i];
        }
        // Whole, so that block edges fall where the text puts them, and in three pieces.
        auto cutsOf = [](const std::string& input, bool whole) {
            const std::size_t n = input.size();
            if (whole || n < 2) return std::vector<std::size_t>{};
            return std::vector<std::size_t>{n / 3, n / 3 + 1, 2 * n / 3};
        };
        for (simd::Path path : paths()) {
            for (bool whole : {true, false}) {
                EXPECT_EQ(runInPieces(encryptor(Encoding::Utf8, kZeroKey, path), text, cutsOf(text, whole)),
                          cipherText + "\n")
                    << "path " << static_cast<int>(path) << ", size " << size << (whole ? ", whole" : "");
                EXPECT_EQ(runInPieces(decryptor(Encoding::Utf8, kZeroKey, path), cipherText, cutsOf(cipherText, whole)),
                          message)
                    << "path " << static_cast<int>(path) << ", size " << size << (whole ? ", whole" : "");
            }
        }
    }
}

TEST(EncryptPipeline, FaultAfterManyAddedCarriageReturnsCountsTheInputsCharacters) {
    // Each line gains a CR, 40000 in all over several steps; one line already
    // has its CR LF, and ÿ (255) + 1 has no code. Lines after it gain CRs too.
    const std::vector<std::uint8_t> one = {1};
    std::string text;
    for (int line = 0; line < 40000; ++line) text += line == 39990 ? "a\r\n" : "ab\n";
    text += "x\xC3\xBF\nab\nab\n";
    for (simd::Path path : paths()) {
        for (std::size_t stride : {text.size(), kStepSize, std::size_t{50000}}) {
            std::string result = runInPieces(encryptor(Encoding::Utf8, one, path), text, cutsEvery(stride, text.size()));
            EXPECT_NE(result.find("at position 120002 "), std::string::npos)
                << "path " << static_cast<int>(path) << ", pieces of " << stride << ": " << result;
        }
    }
}

TEST(DecryptPipeline, DropsTrailingLineEndsOnly) {
    // A zero key: the first character is dropped, þ/ý become LF/CR.
    expectSameInAnyPieces(decryptor(Encoding::Cp1252, kZeroKey), "\xF0" "a\r\nb\r\n\n\r", "a\r\nb");
    expectSameInAnyPieces(decryptor(Encoding::Utf8, kZeroKey), "ðaýþbý\n\r\n", "a\nb\r");
}

TEST(DecryptPipeline, Utf8TurnsWindowLineBreaksBackIntoLineFeeds) {
    expectSameInAnyPieces(decryptor(Encoding::Utf8, kZeroKey), "ðaýþýþbýc", "a\n\nb\rc");
}

TEST(DecryptPipeline, StepsEachCodeBackByItsKeyNumber) {
    // The inverse of the encrypt example: ê - 1 = é, "!" - 2 wraps back to "z".
    expectSameInAnyPieces(decryptor(Encoding::Utf8, kOneTwo), "ðê!\n", "éz");
}

TEST(DecryptPipeline, InputWithoutCipherTextIsAnError) {
    EXPECT_EQ(runInPieces(decryptor(Encoding::Utf8, kZeroKey), "", {}),
              "error: 'in.txt' holds no cipher text: it is empty");
    for (std::string input : {"\r\n", "\n\n\r"}) {
        std::string result = runInPieces(decryptor(Encoding::Utf8, kZeroKey), input, {});
        EXPECT_EQ(result, "error: 'in.txt' holds no cipher text: it has only line breaks") << input.size();
    }
    EXPECT_EQ(runInPieces(decryptor(Encoding::Utf8, kZeroKey), "ð\n", {}), "");
}

TEST(DecryptPipeline, LineBreakInsertedIntoCipherTextFailsWhereItStands) {
    // A CR (13) stepped down by 20 has no code; it is the 3rd character.
    const std::vector<std::uint8_t> twenty = {20};
    std::string result = runInPieces(decryptor(Encoding::Cp1252, twenty), "\xF0" "a\rb", {});
    EXPECT_NE(result.find("at position 3 "), std::string::npos) << result;
    EXPECT_NE(result.find("below 0"), std::string::npos) << result;
}

} // namespace
} // namespace tarvex::cli::test
