// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

namespace tarvex::window::test {
namespace {

QAccessibleInterface& readerView(MessageArea& area) {
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(area.focusProxy());
    if (view == nullptr) {
        throw std::runtime_error("the message area has no accessible view");
    }
    return *view;
}

TEST(MessageAreaAccessibility, AScreenReaderReadsWritesAndFollowsTheMessage) {
    const auto window = showWindow();
    MessageArea& area = messageArea(*window);
    QWidget* view = area.focusProxy();
    view->setFocus();
    QAccessibleInterface& reader = readerView(area);
    QAccessibleTextInterface* text = reader.textInterface();
    QAccessibleEditableTextInterface* editing = reader.editableTextInterface();
    ASSERT_NE(text, nullptr);
    ASSERT_NE(editing, nullptr);
    EXPECT_EQ(reader.role(), QAccessible::EditableText);
    EXPECT_EQ(reader.text(QAccessible::Name), QStringLiteral("Text Message Area"));
    EXPECT_FALSE(reader.text(QAccessible::Description).isEmpty());
    EXPECT_TRUE(reader.state().editable);
    EXPECT_TRUE(reader.state().multiLine);

    // What is typed is read back, with the caret after it. (The events that announce
    // changes reach a reader only over a live bus: the end-to-end test listens to them.)
    QTest::keyClicks(view, QStringLiteral("Hi"));
    QTest::keyClick(view, Qt::Key_Return);
    QTest::keyClicks(view, QStringLiteral("you"));
    EXPECT_EQ(text->text(0, text->characterCount()), QStringLiteral("Hi\nyou"));
    EXPECT_EQ(text->cursorPosition(), 6);
    QTest::keyClick(view, Qt::Key_Left, Qt::ShiftModifier);
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(5, 6));

    // Controls are read as what they stand for, and offsets count what is read.
    area.setText(std::string("a\0b\r\nc\rd", 8));
    const QString read = QStringLiteral("a[null]b\nc[carriage return]d");
    EXPECT_EQ(text->text(0, -1), read);
    text->setCursorPosition(3); // inside "[null]": before the NUL
    EXPECT_EQ(text->cursorPosition(), 1);
    text->setSelection(0, 7, 9); // "b" and the line break
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(7, 9));

    // And the reader can edit through the same offsets.
    editing->deleteText(1, 7);
    EXPECT_EQ(area.text(), "ab\r\nc\rd");
    editing->replaceText(5, 22, QStringLiteral("\u00e9!"));
    EXPECT_EQ(area.text(), "ab\r\nc\xC3\xA9!");

    // Every script reads as itself; an emoji counts as its two UTF-16 units.
    area.setText("\xD0\x96 \xD7\xA9 \xF0\x9F\x98\x80\x01");
    EXPECT_EQ(text->text(0, text->characterCount()), QStringLiteral(u"\u0416 \u05E9 \U0001F600[start of heading]"));
    editing->insertText(3, QStringLiteral(u"\u65E5"));
    EXPECT_EQ(area.text(), "\xD0\x96 \xD7\xA9\xE6\x97\xA5 \xF0\x9F\x98\x80\x01");

    // A C1 control reads by its name, never as the Windows-1252 character of
    // its number; the character at an offset is the whole one the caret steps
    // over: a letter with its mark, a family of emoji, a control's reading.
    area.setText("a\xCC\x88\xC2\x80\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\x01\xCC\x88");
    EXPECT_EQ(text->text(0, -1), QStringLiteral(u"a\u0308[padding character]\U0001F468\u200D\U0001F469"
                                                u"[start of heading]\u0308"));
    const auto characterAt = [&](int offset) {
        int from = 0;
        int to = 0;
        const QString character = text->textAtOffset(offset, QAccessible::CharBoundary, &from, &to);
        EXPECT_EQ(character, text->text(from, to)) << offset;
        return character;
    };
    EXPECT_EQ(characterAt(1), QStringLiteral(u"a\u0308"));
    EXPECT_EQ(characterAt(5), QStringLiteral("[padding character]"));
    EXPECT_EQ(characterAt(23), QStringLiteral(u"\U0001F468\u200D\U0001F469"));
    EXPECT_EQ(characterAt(28), QStringLiteral("[start of heading]"));
    EXPECT_EQ(characterAt(44), QStringLiteral(u"\u0308")) << "a mark after a control stands alone";
    text->setCursorPosition(0);
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(text->cursorPosition(), 21) << "the caret steps over the same characters";
}

} // namespace
} // namespace tarvex::window::test
