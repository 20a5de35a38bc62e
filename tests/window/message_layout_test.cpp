// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/message_layout.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

namespace tarvex::window::test {
namespace {

// A long line without blanks wraps between whole characters only, every step
// walks over one of them, in either direction, and each is drawn whole.
TEST(MessageLayout, RowsBreakAndStepsStopBetweenWholeCharactersOnly) {
    MessageLayout layout;
    layout.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    // Thumbs with a skin tone (four UTF-16 units), e with a combining acute and
    // ka with the vowel sign aa, a mark that takes room of its own (two each).
    QString text;
    for (int i = 0; i < 60; ++i) {
        text += QStringLiteral(u"\U0001F44D\U0001F3FD");
        text += QStringLiteral(u"e\u0301");
        text += QStringLiteral(u"\u0915\u093E");
    }
    const auto whole = [](std::size_t p) { return p % 8 == 0 || p % 8 == 4 || p % 8 == 6; };
    layout.layOut(text, 40);
    ASSERT_GT(layout.rows().size(), 5u);
    for (const MessageLayout::Row& row : layout.rows()) {
        EXPECT_TRUE(whole(row.start)) << "row starting at " << row.start;
    }
    std::size_t steps = 0;
    for (std::size_t p = 0; p < static_cast<std::size_t>(text.size()); p = layout.nextPosition(p)) {
        EXPECT_TRUE(whole(p)) << p;
        EXPECT_EQ(layout.cellAt(p, 0).end, layout.nextPosition(p)) << p;
        ++steps;
    }
    EXPECT_EQ(steps, 180u);
    EXPECT_EQ(layout.previousPosition(8), 6u);
    EXPECT_EQ(layout.previousPosition(6), 4u);
    EXPECT_EQ(layout.previousPosition(4), 0u);
    // Where a screen reader puts the caret inside a character, it goes to the character's start.
    EXPECT_EQ(layout.startOfCharacter(5), 4u);
    EXPECT_EQ(layout.startOfCharacter(3), 0u);
    EXPECT_EQ(layout.startOfCharacter(7), 6u);
    EXPECT_EQ(layout.startOfCharacter(8), 8u);

    // Hangul written as jamo: "han" and "geul", each a leading consonant, a
    // vowel and a trailing consonant, are one character each.
    const QString hangul = QStringLiteral(u"\u1112\u1161\u11AB\u1100\u1173\u11AF");
    layout.layOut(hangul, 1000);
    EXPECT_EQ(layout.nextPosition(0), 3u);
    EXPECT_EQ(layout.previousPosition(6), 3u);

    // Thai ko kai with sara am, whose mark is a letter by its category: one character.
    const QString thai = QStringLiteral(u"\u0E01\u0E33\u0E01");
    layout.layOut(thai, 1000);
    EXPECT_EQ(layout.nextPosition(0), 2u);
    EXPECT_EQ(layout.cellAt(0, 0).end, 2u);
}

} // namespace
} // namespace tarvex::window::test
