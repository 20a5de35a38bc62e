// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/message_document.h"

#include <gtest/gtest.h>

namespace tarvex::window::test {
namespace {

constexpr auto npos = MessageDocument::npos;

// Types one character after another at the end, as keys would.
void type(MessageDocument& document, QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype units = text[i].isHighSurrogate() ? 2 : 1;
        document.replace(document.size(), document.size(), text.mid(i, units));
        i += units - 1;
    }
}

TEST(MessageDocument, UndoAndRedoWalkTheHistoryTypingInARowBeingOneStep) {
    MessageDocument document;
    EXPECT_FALSE(document.canUndo());
    EXPECT_EQ(document.undo(), npos);
    document.setText(u"keep");
    type(document, u" this");
    document.breakTyping();
    type(document, u"!");
    document.replace(0, 4, u"hold");
    EXPECT_EQ(document.text(), QStringLiteral("hold this!"));

    EXPECT_EQ(document.undo(), 4u);
    EXPECT_EQ(document.text(), QStringLiteral("keep this!"));
    EXPECT_EQ(document.undo(), 9u);
    EXPECT_EQ(document.text(), QStringLiteral("keep this"));
    EXPECT_EQ(document.undo(), 4u);
    EXPECT_EQ(document.text(), QStringLiteral("keep")) << "what was typed in a row goes back at once";
    EXPECT_FALSE(document.canUndo()) << "setting the text is no step";

    EXPECT_EQ(document.redo(), 9u);
    EXPECT_EQ(document.text(), QStringLiteral("keep this"));
    document.replace(0, 0, u">");
    EXPECT_FALSE(document.canRedo()) << "a new edit drops what was undone";
    EXPECT_TRUE(document.setText(u"new"));
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.setText(u"new"));
}

TEST(MessageDocument, TheLimitCutsSetTextAndRoomCountsWhatASelectionFrees) {
    MessageDocument document;
    EXPECT_GT(document.capacity(), std::size_t{1} << 20) << "no limit still holds a long cipher text";
    document.setLimit(5);
    document.setText(u"abcdefgh");
    EXPECT_EQ(document.text(), QStringLiteral("abcde"));
    EXPECT_EQ(document.room(5, 5), 0u);
    EXPECT_EQ(document.room(1, 4), 3u);
    document.setLimit(0);
    EXPECT_EQ(document.text(), QStringLiteral("abcde")) << "a new limit leaves the text as it is";
}

TEST(MessageDocument, AStepTheLimitRefusesStaysInTheHistory) {
    MessageDocument document;
    document.setText(u"short");
    document.replace(0, 5, u"a much longer text");
    document.setLimit(8);
    EXPECT_EQ(document.undo(), 5u) << "undoing shortens the text";
    document.setLimit(6);
    EXPECT_EQ(document.redo(), npos);
    EXPECT_EQ(document.text(), QStringLiteral("short"));
    EXPECT_TRUE(document.canRedo()) << "a refused redo keeps its step";

    document.setLimit(0);
    EXPECT_NE(document.redo(), npos);
    document.replace(0, document.length(), u"x");
    document.setLimit(2);
    EXPECT_EQ(document.undo(), npos);
    EXPECT_EQ(document.text(), QStringLiteral("x"));
    EXPECT_TRUE(document.canUndo()) << "a refused undo keeps its step";
    document.setLimit(0);
    EXPECT_EQ(document.undo(), 18u);
    EXPECT_EQ(document.text(), QStringLiteral("a much longer text"));
}

TEST(MessageDocument, TheLimitCountsCharactersAndNeverHalvesOne) {
    MessageDocument document;
    document.setLimit(4);
    // Two emoji beyond the BMP (two UTF-16 units each), a Cyrillic letter, a Hebrew one, a CJK one.
    document.setText(u"\U0001F600\U0001F44D\u0416\u05E9\u65E5");
    EXPECT_EQ(document.text(), QString::fromUtf16(u"\U0001F600\U0001F44D\u0416\u05E9"));
    EXPECT_EQ(document.length(), 4u);
    EXPECT_EQ(document.size(), 6u);
    EXPECT_EQ(document.room(0, 2), 1u) << "the first emoji frees one character";

    document.setLimit(0);
    document.setText(u"");
    type(document, u"\U0001F600\u0416!");
    EXPECT_EQ(document.length(), 3u);
    EXPECT_EQ(document.undo(), 0u) << "typed emoji merge with the rest";
    EXPECT_TRUE(document.text().isEmpty());
}

// The limit holds for every change, whoever asks for it, not only for what the view lets through.
TEST(MessageDocument, NoReplacementPassesTheLimit) {
    MessageDocument document;
    document.setLimit(5);
    document.setText(u"abc");
    EXPECT_FALSE(document.replace(3, 3, u"def"));
    EXPECT_FALSE(document.replace(0, 1, u"\U0001F600\U0001F600\U0001F600\U0001F600"));
    EXPECT_EQ(document.text(), QStringLiteral("abc"));
    EXPECT_FALSE(document.canUndo()) << "a refused change leaves no step";
    EXPECT_TRUE(document.replace(1, 2, u"\U0001F600\U0001F600\U0001F600")) << "exactly five characters";
    EXPECT_EQ(document.length(), 5u);

    document.setLimit(3);
    EXPECT_TRUE(document.replace(0, 1, {})) << "a text over a lowered limit can still be shortened";
    EXPECT_FALSE(document.replace(0, 2, u"yz")) << "but not be given more than it frees";
    EXPECT_FALSE(document.replace(4, 99, {})) << "a range past the end changes nothing";
    EXPECT_EQ(document.text(), QString::fromUtf16(u"\U0001F600\U0001F600\U0001F600c"));
}

} // namespace
} // namespace tarvex::window::test
