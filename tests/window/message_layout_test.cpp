// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/message_layout.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

namespace tarvex::window::test {
namespace {

// A long line without blanks wraps between whole characters only, and every
// step walks over one of them, in either direction.
TEST(MessageLayout, RowsBreakAndStepsStopBetweenWholeCharactersOnly) {
    MessageLayout layout;
    layout.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    // Thumbs with a skin tone (four UTF-16 units each) and e with a combining acute (two).
    QString text;
    for (int i = 0; i < 60; ++i) {
        text += QStringLiteral(u"\U0001F44D\U0001F3FD");
        text += QStringLiteral(u"e\u0301");
    }
    layout.layOut(text, 40);
    ASSERT_GT(layout.rows().size(), 5u);
    for (const MessageLayout::Row& row : layout.rows()) {
        EXPECT_TRUE(row.start % 6 == 0 || row.start % 6 == 4) << "row starting at " << row.start;
    }
    std::size_t steps = 0;
    for (std::size_t p = 0; p < static_cast<std::size_t>(text.size()); p = layout.nextPosition(p)) {
        EXPECT_TRUE(p % 6 == 0 || p % 6 == 4) << p;
        ++steps;
    }
    EXPECT_EQ(steps, 120u);
    EXPECT_EQ(layout.previousPosition(6), 4u);
    EXPECT_EQ(layout.previousPosition(4), 0u);
    // Where a screen reader puts the caret inside a character, it goes to the character's start.
    EXPECT_EQ(layout.startOfCharacter(5), 4u);
    EXPECT_EQ(layout.startOfCharacter(3), 0u);
    EXPECT_EQ(layout.startOfCharacter(6), 6u);
}

} // namespace
} // namespace tarvex::window::test
