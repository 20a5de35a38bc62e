// SPDX-License-Identifier: GPL-3.0-or-later

// The key agreement against every vector another implementation made: both
// ends of each agreement give its key file byte for byte, and every pasted
// text gets its verdict, with the character and position it names.

#include "agree/agreement.h"

#include "seal/base58_blocks.h"
#include "support/test_support.h"
#include "text/charset.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <string>

namespace tarvex::agree::test {
namespace {

using agree::Agreement;
using Json = nlohmann::json;

const Json& vectors() {
    static const Json all = [] {
        std::ifstream file(TARVEX_AGREE_VECTORS);
        return Json::parse(file);
    }();
    return all;
}

std::vector<std::uint8_t> fromHex(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

agree::PublicHalf halfFromHex(const std::string& hex) {
    agree::PublicHalf half{};
    const std::vector<std::uint8_t> bytes = fromHex(hex);
    std::copy(bytes.begin(), bytes.end(), half.begin());
    return half;
}

secret::Bytes secretFromHex(const std::string& hex) {
    return secret::Bytes(fromHex(hex));
}

std::string hexOf(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::uint8_t b : bytes) hex += {kDigits[b >> 4], kDigits[b & 15]};
    return hex;
}

// The key file an agreement saves, as bytes; it must be owner-only.
std::string savedKeyFile(const Agreement& agreement) {
    tarvex::test::TempDir dir;
    const std::string path = dir.file("agreed.tvk");
    EXPECT_TRUE(agreement.saveKeyFile(path, files::AtomicFileWriter::Replace::Refused));
    EXPECT_EQ(tarvex::test::permissionBits(path), 0600u);
    return tarvex::test::readBytes(path);
}

// The inviter's public half of the invitation a line of the vectors is read against.
agree::PublicHalf invitationHalfFor(const Json& line) {
    const std::string invitation = line.value("invitation", vectors()["valid"][0]["invitation"].get<std::string>());
    Result<agree::InvitationLine> read = agree::readInvitation(invitation);
    EXPECT_TRUE(read);
    return read ? read->publicHalf : agree::PublicHalf{};
}

AgreementLine lineNamed(const std::string& name) {
    return name == "answer" ? AgreementLine::Answer : AgreementLine::Invitation;
}

TEST(AgreementVectors, BothEndsOfEveryAgreementWriteItsKeyFile) {
    for (const Json& v : vectors()["valid"]) {
        SCOPED_TRACE(v["name"].get<std::string>());
        Agreement inviter = Agreement::invite(secretFromHex(v["secret_a"]));
        EXPECT_EQ(inviter.invitationLine(), v["invitation"]);
        EXPECT_EQ(inviter.stage(), Agreement::Stage::AwaitingAnswer);

        Result<Agreement> answerer = Agreement::answer(v["invitation"].get<std::string>(), secretFromHex(v["secret_b"]));
        ASSERT_TRUE(answerer);
        EXPECT_EQ(answerer->answerLine(), v["answer"]);
        ASSERT_TRUE(inviter.takeAnswer(v["answer"].get<std::string>()));

        for (const Agreement* side : {&inviter, &*answerer}) {
            EXPECT_EQ(side->stage(), Agreement::Stage::Agreed);
            EXPECT_EQ(side->fingerprint(), v["fingerprint"]);
            const std::string file = savedKeyFile(*side);
            EXPECT_EQ(file.size(), 12382u);
            EXPECT_EQ(file, v["key_file"]);
        }
    }
}

// Crafted halves with the top bit set or values from p up: they enter the
// seed as the lines carry them, while X25519 masks and reduces them.
TEST(AgreementVectors, OneSidedAgreementsTakeHalvesAsTheLinesCarryThem) {
    for (const Json& v : vectors()["one_sided"]) {
        SCOPED_TRACE(v["name"].get<std::string>());
        if (v["side"] == "inviter") {
            Agreement inviter = Agreement::invite(secretFromHex(v["secret_a"]));
            EXPECT_EQ(inviter.invitationLine(), v["invitation"]);
            ASSERT_TRUE(inviter.takeAnswer(v["answer"].get<std::string>()));
            EXPECT_EQ(inviter.fingerprint(), v["fingerprint"]);
            EXPECT_EQ(savedKeyFile(inviter), v["key_file"]);
        } else {
            Result<Agreement> answerer =
                Agreement::answer(v["invitation"].get<std::string>(), secretFromHex(v["secret_b"]));
            ASSERT_TRUE(answerer);
            EXPECT_EQ(answerer->answerLine(), v["answer"]);
            EXPECT_EQ(answerer->fingerprint(), v["fingerprint"]);
            EXPECT_EQ(savedKeyFile(*answerer), v["key_file"]);
        }
    }
}

TEST(AgreementVectors, EveryPastedTextGetsItsVerdict) {
    using Kind = Error::Kind;
    for (const Json& v : vectors()["lines"]) {
        SCOPED_TRACE(v["name"].get<std::string>());
        const std::string text = v["text"];
        const AgreementLine expected = lineNamed(v["expect"]);
        const Json& verdict = v["verdict"];
        const std::string kind = verdict["kind"];

        std::optional<Error> refusal;
        if (expected == AgreementLine::Invitation) {
            Result<agree::InvitationLine> read = agree::readInvitation(text);
            if (read) EXPECT_EQ(hexOf(read->publicHalf), verdict["public_hex"]);
            else refusal = read.error();
        } else {
            Result<agree::AnswerLine> read = agree::readAnswer(text, invitationHalfFor(v));
            if (read) {
                EXPECT_EQ(hexOf(read->publicHalf), verdict["public_hex"]);
                EXPECT_EQ(hexOf(read->tag), verdict["tag_hex"]);
            } else {
                refusal = read.error();
            }
        }
        if (kind == "ok") {
            EXPECT_FALSE(refusal) << "refused as kind " << static_cast<int>(refusal->kind);
            continue;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->expectedLine, expected);
        const auto found = [&] { return lineNamed(verdict["found"]); };
        if (kind == "damaged") {
            const std::string reason = verdict["reason"];
            EXPECT_EQ(refusal->kind, reason == "cut" ? Kind::AgreeLineCut : Kind::AgreeLineDamaged);
            if (reason == "character" || reason == "value") {
                EXPECT_EQ(refusal->position, verdict["position"].get<std::uint64_t>());
                EXPECT_EQ(refusal->code, text::charset::firstUtf8Character(verdict["char"].get<std::string>()).ch);
                // A digit too large for its group, or no digit at all.
                const bool digit = refusal->code < 0x80 && seal::base58::digitValue(static_cast<unsigned char>(refusal->code)) >= 0;
                EXPECT_EQ(digit, reason == "value");
            } else if (reason == "crc") {
                EXPECT_EQ(refusal->position, 0u);
            }
        } else if (kind == "newer-version") {
            EXPECT_EQ(refusal->kind, Kind::AgreeNewerVersion);
            EXPECT_EQ(refusal->foundLine, found());
            EXPECT_EQ(refusal->code, static_cast<char32_t>(verdict["version"].get<std::string>()[0]));
        } else if (kind == "wrong-kind") {
            EXPECT_EQ(refusal->kind, Kind::AgreeWrongKind);
            EXPECT_EQ(refusal->foundLine, found());
        } else if (kind == "not-a-line") {
            const std::string what = verdict.value("found", "");
            EXPECT_EQ(refusal->kind, what == "sealed"  ? Kind::AgreeSealedGiven
                                     : what == "empty" ? Kind::AgreeNothingGiven
                                                       : Kind::AgreeNoLine);
        } else if (kind == "other-invitation") {
            EXPECT_EQ(refusal->kind, Kind::AgreeOtherInvitation);
        } else {
            ASSERT_EQ(kind, "small-order");
            EXPECT_EQ(refusal->kind, Kind::AgreeMadeOnPurpose);
            EXPECT_EQ(refusal->foundLine, expected);
        }
        EXPECT_EQ(agree::mayTryAgain(*refusal), kind != "small-order");
    }
}

// Every string of small order, as either line: refused as made on purpose,
// and an inviter that is given one can only start again.
TEST(AgreementVectors, SmallOrderHalvesEndTheAgreement) {
    const Json& rfc = vectors()["valid"][0];
    for (const Json& point : vectors()["small_order_points"]) {
        SCOPED_TRACE(point["name"].get<std::string>());
        const agree::PublicHalf half = halfFromHex(point["hex"]);
        const std::string invitation = agree::formatInvitation(half);
        Result<Agreement> answered = Agreement::answer("Here: " + invitation + " thanks");
        ASSERT_FALSE(answered);
        EXPECT_EQ(answered.error().kind, Error::Kind::AgreeMadeOnPurpose);

        Agreement inviter = Agreement::invite(secretFromHex(rfc["secret_a"]));
        const std::string answer = agree::formatAnswer(half, agree::tagOf(halfFromHex(rfc["public_a"])));
        Status taken = inviter.takeAnswer(answer);
        ASSERT_FALSE(taken);
        EXPECT_EQ(taken.error().kind, Error::Kind::AgreeMadeOnPurpose);
        EXPECT_EQ(inviter.stage(), Agreement::Stage::Ended);
        EXPECT_FALSE(inviter.takeAnswer(rfc["answer"].get<std::string>())) << "an ended agreement took an answer";
    }
}

// Each side reads its eight digits aloud and confirms the key only with the other side's eight.
TEST(AgreementVectors, EachSideConfirmsWithTheDigitsTheOtherReadsAloud) {
    const Json& v = vectors()["valid"][0];
    const std::string fingerprint = v["fingerprint"]; // "XXXX XXXX XXXX XXXX"
    Agreement inviter = Agreement::invite(secretFromHex(v["secret_a"]));
    Result<Agreement> answerer = Agreement::answer(v["invitation"].get<std::string>(), secretFromHex(v["secret_b"]));
    ASSERT_TRUE(answerer);
    ASSERT_TRUE(inviter.takeAnswer(v["answer"].get<std::string>()));
    EXPECT_EQ(answerer->digitsToReadAloud(), fingerprint.substr(0, 9));
    EXPECT_EQ(inviter.digitsToReadAloud(), fingerprint.substr(10, 9));

    for (Agreement* side : {&inviter, &*answerer}) {
        Agreement& other = side == &inviter ? *answerer : inviter;
        Status own = side->compareHeard(side->digitsToReadAloud());
        ASSERT_FALSE(own);
        EXPECT_EQ(own.error().kind, Error::Kind::AgreeDigitsDiffer);
        Status short_ = side->compareHeard(other.digitsToReadAloud().substr(0, 7));
        ASSERT_FALSE(short_);
        EXPECT_EQ(short_.error().kind, Error::Kind::AgreeDigitsUnreadable);
        EXPECT_EQ(side->stage(), Agreement::Stage::Agreed);
        std::string heard = other.digitsToReadAloud();
        for (char& c : heard) c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(side->compareHeard(heard));
        EXPECT_EQ(side->stage(), Agreement::Stage::Confirmed);
    }
}

} // namespace
} // namespace tarvex::agree::test
