#include "cli/decrypt_pipeline.h"
#include "cli/encrypt_pipeline.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarvex::cli {
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
        if (Status st = pipeline->push(input.substr(start, end - start), out); !st) return "error: " + st.error().describe();
        start = end;
    }
    if (Status st = pipeline->finish(out); !st) return "error: " + st.error().describe();
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

PipelineFactory encryptor(Encoding encoding, const std::vector<std::uint8_t>& key) {
    return [=] { return std::make_unique<EncryptPipeline>(encoding, key); };
}

PipelineFactory decryptor(Encoding encoding, const std::vector<std::uint8_t>& key) {
    return [=] { return std::make_unique<DecryptPipeline>(encoding, key, "in.txt"); };
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
    for (std::string input : {"", "\r\n", "\n\n\r"}) {
        std::string result = runInPieces(decryptor(Encoding::Utf8, kZeroKey), input, {});
        EXPECT_EQ(result, "error: 'in.txt' holds no cipher text: it is empty") << input.size();
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
} // namespace tarvex::cli
