// SPDX-License-Identifier: GPL-3.0-or-later

// What the window's one field does with a line: an answer finishes the
// invitation, an invitation from the other side is answered instead, and this
// side's own invitation changes nothing.

#include "agree/agreement.h"

#include <gtest/gtest.h>

namespace tarvex::agree::test {
namespace {

using agree::Agreement;

TEST(Agreement, AnInvitationGivenToAnInviterIsAnsweredInstead) {
    Agreement first = Agreement::invite();
    Agreement second = Agreement::invite();

    Status own = first.takeLine("> " + first.invitationLine());
    ASSERT_FALSE(own);
    EXPECT_EQ(own.error().kind, Error::Kind::AgreeOwnInvitation);
    Status ownAgain = first.takeAnswer(first.invitationLine());
    ASSERT_FALSE(ownAgain);
    EXPECT_EQ(ownAgain.error().kind, Error::Kind::AgreeOwnInvitation);
    EXPECT_EQ(first.stage(), Agreement::Stage::AwaitingAnswer);

    // Both invited; the first takes the second's invitation and answers it.
    ASSERT_TRUE(first.takeLine("Here is mine: " + second.invitationLine()));
    EXPECT_EQ(first.role(), Agreement::Role::Answerer);
    EXPECT_EQ(first.invitationLine(), second.invitationLine());
    EXPECT_EQ(first.lineToSend(), first.answerLine());

    ASSERT_TRUE(second.takeLine(first.lineToSend()));
    EXPECT_EQ(second.role(), Agreement::Role::Inviter);
    EXPECT_EQ(second.fingerprint(), first.fingerprint());
}

} // namespace
} // namespace tarvex::agree::test
