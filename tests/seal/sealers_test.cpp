// SPDX-License-Identifier: GPL-3.0-or-later

// The sealer, whole and in uneven pieces, against the opener around the piece
// boundaries; the format itself is checked against another implementation
// through tarvex-cli.

#include "seal/opener.h"
#include "seal/sealer.h"
#include "seal/token_length.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tarvex::seal::test {
namespace {

TEST(Sealer, WholeAndInPiecesSealsTokensOfOneLengthThatOpenToThePayload) {
    std::vector<std::uint8_t> numbers(500);
    for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = static_cast<std::uint8_t>(1 + i * 7 % 30);
    Result<seal::SealingKey> made = seal::SealingKey::forSealing(numbers, "k.tvk");
    ASSERT_TRUE(made);
    const seal::SealingKey& key = *made;
    std::mt19937 random(9);
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, seal::kPieceBytes - 1, seal::kPieceBytes,
                                   seal::kPieceBytes + 1, 11 * seal::kPieceBytes + 3}) {
        SCOPED_TRACE(size);
        std::string payload(size, '\0');
        for (char& c : payload) c = static_cast<char>(random());

        const std::string whole = seal::sealWhole(payload, key);
        std::string streamed;
        {
            seal::Sealer sealer(key);
            // What a call emits stays valid through the next: each is taken
            // only after the next call, as tarvex-cli does with its last chunk.
            std::string_view held, before;
            const seal::Emit hold = [&](std::string_view text) -> Status {
                held = text;
                return Done{};
            };
            const auto taking = [&](Status status) {
                streamed.append(before);
                before = held;
                held = {};
                return status;
            };
            for (std::size_t at = 0, step = 1; at < size; at += step, step = step * 5 + 3)
                ASSERT_TRUE(taking(sealer.push(std::string_view(payload).substr(at, step), hold)));
            ASSERT_TRUE(taking(sealer.finish(hold)));
            streamed.append(before);
        }
        EXPECT_EQ(whole.size(), seal::tokenLength(size));
        EXPECT_EQ(streamed.size(), whole.size());
        EXPECT_NE(streamed, whole); // each message has a header of its own
        for (const std::string& token : {whole, streamed}) {
            Result<secret::String> opened = seal::openWhole(token, key);
            ASSERT_TRUE(opened);
            EXPECT_TRUE(std::string_view(*opened) == payload);
        }
    }
}

// The header that needs the key comes after the opener is made: it keeps
// the key itself, and whoever made it need not keep theirs.
TEST(Opener, OpensWithTheKeyItWasGivenWhenThatKeyIsGone) {
    const std::vector<std::uint8_t> numbers(438, 5);
    std::optional<seal::SealingKey> key = seal::SealingKey::forOpening(numbers);
    const std::string token = seal::sealWhole("payload", *key);
    seal::Opener opener(*key);
    key.reset();
    std::string payload;
    const seal::Emit append = [&](std::string_view piece) -> Status {
        payload.append(piece);
        return Done{};
    };
    ASSERT_TRUE(opener.push(token, append));
    ASSERT_TRUE(opener.finish(append));
    EXPECT_EQ(payload, "payload");
}

} // namespace
} // namespace tarvex::seal::test
