// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/result.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The two public lines of a key agreement. The invitation carries the
// inviter's public half; the answer carries the answerer's and a tag that
// names the invitation it answers. Each is one word of letters and digits, so
// a double click selects it and chat and mail programs leave it alone.
namespace tarvex::agree {

inline constexpr std::size_t kPublicHalfBytes = 32;
inline constexpr std::size_t kTagBytes = 4;
inline constexpr std::string_view kInvitationPrefix = "tarvexinvite";
inline constexpr std::string_view kAnswerPrefix = "tarvexanswer";
// Prefix, version digit and 50 (invitation) or 55 (answer) base58 digits.
inline constexpr std::size_t kInvitationLength = 63;
inline constexpr std::size_t kAnswerLength = 68;

using PublicHalf = std::array<std::uint8_t, kPublicHalfBytes>;
using Tag = std::array<std::uint8_t, kTagBytes>;

// What a whole invitation carries: the inviter's public half, as the line
// carries it (top bit and values from p up included).
struct InvitationLine {
    PublicHalf publicHalf{};
};

// What a whole answer carries: the answerer's public half and the tag of the
// invitation it answers.
struct AnswerLine {
    PublicHalf publicHalf{};
    Tag tag{};
};

// The tag of an answer to the invitation that carries `inviterHalf`: its first 4 bytes.
Tag tagOf(const PublicHalf& inviterHalf);

// The invitation line that carries `inviterHalf`: "tarvexinvite1" and 50 digits.
std::string formatInvitation(const PublicHalf& inviterHalf);
// The answer line that carries `answererHalf` and `tag`: "tarvexanswer1" and 55 digits.
std::string formatAnswer(const PublicHalf& answererHalf, const Tag& tag);

// Reads the invitation in `text` (UTF-8), which may hold other words around
// it: a chat message, a mail with quote markers and wrapped lines. A refusal
// is one of the Error::Kind::Agree... verdicts with expectedLine Invitation;
// positions count Unicode code points from 1 in `text` as given, dropped
// characters included, so a window that holds the text as UTF-16 names the
// same place. A public half of small order is refused (AgreeMadeOnPurpose).
Result<InvitationLine> readInvitation(std::string_view text);

// Reads the answer in `text` to the invitation that carries `inviterHalf`,
// as readInvitation does, with expectedLine Answer; an answer whose tag is
// not that invitation's is refused (AgreeOtherInvitation).
Result<AnswerLine> readAnswer(std::string_view text, const PublicHalf& inviterHalf);

// Whether a line refused with `verdict` may be given again, the agreement
// staying open (a damaged, cut or misplaced line), or the agreement must
// start again (a public half made on purpose).
bool mayTryAgain(const Error& verdict);

// Whether more text after the same text (standard input still open) could
// still change `verdict`: the line expected has not been found yet, or it is
// cut. Every other verdict stands whatever follows.
bool mayChangeWithMoreText(const Error& verdict);

} // namespace tarvex::agree
