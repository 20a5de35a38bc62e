// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/message_layout.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

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
}

// The whole characters of a laid out text: every boundary, in order.
std::vector<std::size_t> boundariesOf(const MessageLayout& layout, const QString& text) {
    std::vector<std::size_t> all{0};
    while (all.back() < static_cast<std::size_t>(text.size())) all.push_back(layout.nextPosition(all.back()));
    return all;
}

// Presses Right (or Left) from a caret until it moves no more; every caret met.
std::vector<MessageLayout::Caret> walk(const MessageLayout& layout, MessageLayout::Caret caret, bool right) {
    std::vector<MessageLayout::Caret> met{caret};
    for (int step = 0; step < 1000; ++step) {
        const MessageLayout::Caret moved = right ? layout.rightOf(caret) : layout.leftOf(caret);
        if (moved.position == caret.position && moved.atRowEnd == caret.atRowEnd) break;
        met.push_back(caret = moved);
    }
    return met;
}

// In a row of right-to-left or mixed text, Right from the left end moves the
// caret right by one whole character a press, meets every boundary once and
// ends at the right end; Left walks the same way back. Across the rows of a
// wrapped right-to-left paragraph, Left reads it from its start to its end.
TEST(MessageLayout, LeftAndRightStepThroughRowsAsTheyAreSeen) {
    MessageLayout layout;
    layout.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    const QString rows[] = {
        QStringLiteral(u"\u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD \u05E2\u05D5\u05B9\u05DC\u05B8\u05DD"),
        QStringLiteral(u"\u0627\u0644\u0633\u0644\u0627\u0645 \u0639\u0644\u064A\u0643\u0645 \u0644\u0627"),
        QStringLiteral(u"Meet \u05D0\u05D1\u05D2 at 12:30, \u0644\u0627 \U0001F600 ok"),
        QStringLiteral(u"\u05D0\u05D1\u05D2 abc \u05D3\u05D4 42 \u05D5"),
    };
    for (const QString& text : rows) {
        layout.layOut(text, 1e6);
        ASSERT_EQ(layout.rows().size(), 1u);
        const std::vector<std::size_t> all = boundariesOf(layout, text);
        const std::size_t leftEnd = layout.positionAtX(0, -1e6).first;
        const std::size_t rightEnd = layout.positionAtX(0, 1e6).first;

        const std::vector<MessageLayout::Caret> rightward = walk(layout, {leftEnd, false}, true);
        std::vector<std::size_t> met;
        for (const MessageLayout::Caret& caret : rightward) met.push_back(caret.position);
        EXPECT_EQ(met.back(), rightEnd) << text.toStdString();
        EXPECT_EQ(std::set<std::size_t>(met.begin(), met.end()).size(), met.size()) << "no boundary twice";
        std::sort(met.begin(), met.end());
        EXPECT_EQ(met, all) << text.toStdString();
        for (std::size_t k = 1; k < rightward.size(); ++k) {
            EXPECT_GT(layout.xOf(0, rightward[k].position), layout.xOf(0, rightward[k - 1].position))
                << "each press moves the caret right: " << text.toStdString() << " at " << k;
        }

        const std::vector<MessageLayout::Caret> leftward = walk(layout, rightward.back(), false);
        ASSERT_EQ(leftward.size(), rightward.size()) << text.toStdString();
        for (std::size_t k = 0; k < leftward.size(); ++k) {
            EXPECT_EQ(leftward[k].position, rightward[rightward.size() - 1 - k].position) << text.toStdString();
        }
    }

    QString paragraph;
    for (int i = 0; i < 12; ++i) paragraph += QStringLiteral(u"\u0645\u0631\u062D\u0628\u064B\u0627 ");
    layout.layOut(paragraph, 120);
    ASSERT_GT(layout.rows().size(), 2u);
    std::vector<std::size_t> read;
    for (const MessageLayout::Caret& caret : walk(layout, {0, false}, false)) {
        if (read.empty() || read.back() != caret.position) read.push_back(caret.position);
    }
    EXPECT_EQ(read, boundariesOf(layout, paragraph));
}

} // namespace
} // namespace tarvex::window::test
