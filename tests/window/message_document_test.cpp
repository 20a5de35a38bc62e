// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/message_document.h"

#include <gtest/gtest.h>

namespace tarvex::window::test {
namespace {

constexpr auto npos = MessageDocument::npos;

// Types one code after another at the end, as keys would.
void type(MessageDocument& document, std::string_view codes) {
    for (const char code : codes) {
        document.replace(document.length(), document.length(), std::string_view(&code, 1));
    }
}

TEST(MessageDocument, UndoAndRedoWalkTheHistoryTypingInARowBeingOneStep) {
    MessageDocument document;
    EXPECT_FALSE(document.canUndo());
    EXPECT_EQ(document.undo(), npos);
    document.setCodes("keep");
    type(document, " this");
    document.breakTyping();
    type(document, "!");
    document.replace(0, 4, "hold");
    EXPECT_EQ(document.codes(), "hold this!");

    EXPECT_EQ(document.undo(), 4u);
    EXPECT_EQ(document.codes(), "keep this!");
    EXPECT_EQ(document.undo(), 9u);
    EXPECT_EQ(document.codes(), "keep this");
    EXPECT_EQ(document.undo(), 4u);
    EXPECT_EQ(document.codes(), "keep") << "what was typed in a row goes back at once";
    EXPECT_FALSE(document.canUndo()) << "setting the text is no step";

    EXPECT_EQ(document.redo(), 9u);
    EXPECT_EQ(document.codes(), "keep this");
    document.replace(0, 0, ">");
    EXPECT_FALSE(document.canRedo()) << "a new edit drops what was undone";
    EXPECT_TRUE(document.setCodes("new"));
    EXPECT_FALSE(document.canUndo());
    EXPECT_FALSE(document.setCodes("new"));
}

TEST(MessageDocument, TheLimitCutsSetTextAndRoomCountsWhatASelectionFrees) {
    MessageDocument document;
    EXPECT_GT(document.capacity(), std::size_t{1} << 20) << "no limit still holds a long cipher text";
    document.setLimit(5);
    document.setCodes("abcdefgh");
    EXPECT_EQ(document.codes(), "abcde");
    EXPECT_EQ(document.room(5, 5), 0u);
    EXPECT_EQ(document.room(1, 4), 3u);
    document.setLimit(0);
    EXPECT_EQ(document.codes(), "abcde") << "a new limit leaves the text as it is";
}

TEST(MessageDocument, AStepTheLimitRefusesStaysInTheHistory) {
    MessageDocument document;
    document.setCodes("short");
    document.replace(0, 5, "a much longer text");
    document.setLimit(8);
    EXPECT_EQ(document.undo(), 5u) << "undoing shortens the text";
    document.setLimit(6);
    EXPECT_EQ(document.redo(), npos);
    EXPECT_EQ(document.codes(), "short");
    EXPECT_TRUE(document.canRedo()) << "a refused redo keeps its step";

    document.setLimit(0);
    EXPECT_NE(document.redo(), npos);
    document.replace(0, document.length(), "x");
    document.setLimit(2);
    EXPECT_EQ(document.undo(), npos);
    EXPECT_EQ(document.codes(), "x");
    EXPECT_TRUE(document.canUndo()) << "a refused undo keeps its step";
    document.setLimit(0);
    EXPECT_EQ(document.undo(), 18u);
    EXPECT_EQ(document.codes(), "a much longer text");
}

} // namespace
} // namespace tarvex::window::test
