// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include "window/control_pictures.h"
#include "window/message_editor.h"
#include "text/charset.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace tarvex::window::test {
namespace {

// Every character of Windows-1252, as UTF-8.
std::string everyCode() {
    std::string codes;
    for (int code = 0; code < 256; ++code) {
        codes.push_back(static_cast<char>(code));
    }
    return std::string(text::charset::toUtf8(codes));
}

MessageEditor& editorOf(MessageArea& area) {
    auto* editor = area.findChild<MessageEditor*>();
    if (editor == nullptr) {
        throw std::runtime_error("the message area has no editor");
    }
    return *editor;
}

TEST(MessageAreaText, EveryCodeSurvivesASetAndAGet) {
    MessageArea area;
    for (int code = 0; code < 256; ++code) {
        const std::string one(text::charset::toUtf8(std::string(1, static_cast<char>(code))));
        area.setText(one);
        EXPECT_EQ(area.text(), one) << "code " << code;
    }
    const std::string all = everyCode() + everyCode();
    area.setText(all);
    EXPECT_EQ(area.text(), all);
}

TEST(MessageAreaText, LineBreaksAndLoneControlsSurvive) {
    const std::string texts[] = {
        "one\r\ntwo",
        "one\rtwo",
        "one\ntwo",
        "one\n\rtwo",
        "\r\n\r\n",
        "\r\r\n\n",
        "trailing\r",
        std::string("nul\0inside", 10),
        "tab\there",
        "non\xC2\xA0" "breaking",
        "soft\xC2\xADhyphen",
    };
    MessageArea area;
    for (const std::string& text : texts) {
        area.setText(text);
        EXPECT_EQ(area.text(), text);
    }
}

TEST(MessageAreaText, OnlyCrLfBreaksTheLine) {
    MessageArea area;
    area.resize(400, 200);
    auto& editor = editorOf(area);
    area.setText("a\r\nb\rc\nd");
    EXPECT_EQ(editor.rowCount(), 2u);
    QTest::keyClick(&editor, Qt::Key_Down);
    QTest::keyClick(&editor, Qt::Key_End);
    EXPECT_EQ(editor.cursorPosition(), 8u) << "the lone CR and LF stay inside the second line";
}

TEST(MessageAreaText, ControlCodesAreShownVisibly) {
    for (char16_t ch = 0; ch < 256; ++ch) {
        if (ch == u'\t') {
            continue;
        }
        const ControlPicture* picture = controlPictureOf(ch);
        const QChar shown(picture != nullptr ? picture->standIn : ch);
        const auto category = shown.category();
        EXPECT_NE(category, QChar::Other_Control) << "U+" << std::hex << int(ch);
        EXPECT_NE(category, QChar::Other_Format) << "U+" << std::hex << int(ch);
        EXPECT_NE(category, QChar::Other_NotAssigned) << "U+" << std::hex << int(ch);
        if (picture != nullptr && !picture->name.empty()) {
            EXPECT_FALSE(picture->words.empty()) << "what is framed is read";
        }
    }
}

TEST(MessageAreaChange, NotifiedOnceBySetAndOnlyWhenTheTextChanges) {
    MessageArea area;
    QSignalSpy changes(&area, &MessageArea::changed);
    std::string seenInside;
    QObject::connect(&area, &MessageArea::changed, [&] { seenInside = area.text(); });

    area.setText("first\r\nsecond");
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(seenInside, "first\r\nsecond") << "the handler sees the new text";
    area.setText("first\r\nsecond");
    EXPECT_EQ(changes.count(), 1);
    area.setText("");
    EXPECT_EQ(changes.count(), 2);
}

TEST(MessageAreaLimit, SetTextCutsAndANewLimitKeepsTheText) {
    MessageArea area;
    area.setLimit(5);
    area.setText("abcdefgh");
    EXPECT_EQ(area.text(), "abcde");
    area.setText("abc\r\ndef");
    EXPECT_EQ(area.text(), "abc\r\n");
    area.setText("abcd\r\nef");
    EXPECT_EQ(area.text(), "abcd\r") << "cut to the first codes, whatever they are";

    area.setLimit(0);
    area.setText("abcdefgh");
    area.setLimit(3);
    EXPECT_EQ(area.text(), "abcdefgh");
}

class MessageAreaTyping : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = showWindow();
        area_ = &messageArea(*window_);
        area_->setFocus();
        editor_ = QApplication::focusWidget();
        ASSERT_EQ(editor_, &editorOf(*area_));
    }

    std::unique_ptr<Tarvex> window_;
    MessageArea* area_ = nullptr;
    QWidget* editor_ = nullptr;
};

TEST_F(MessageAreaTyping, TypingStopsAtTheLimit) {
    area_->setLimit(5);
    QTest::keyClicks(editor_, QStringLiteral("abcdefg"));
    EXPECT_EQ(area_->text(), "abcde");
}

TEST_F(MessageAreaTyping, AltOrCtrlWithALetterTypesNothing) {
    QTest::keyClick(editor_, Qt::Key_Q, Qt::AltModifier);
    QTest::keyClick(editor_, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(area_->isEmpty());
}

TEST_F(MessageAreaTyping, EnterTypesCrLfAndNeedsRoomForBoth) {
    QTest::keyClicks(editor_, QStringLiteral("ab"));
    QTest::keyClick(editor_, Qt::Key_Return);
    QTest::keyClick(editor_, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(editor_, QStringLiteral("c"));
    EXPECT_EQ(area_->text(), "ab\r\n\r\nc");

    area_->setText("");
    area_->setLimit(3);
    QTest::keyClicks(editor_, QStringLiteral("ab"));
    QTest::keyClick(editor_, Qt::Key_Return);
    EXPECT_EQ(area_->text(), "ab");
}

TEST_F(MessageAreaTyping, TypingOverASelectionCountsWhatItReplaces) {
    area_->setLimit(4);
    area_->setText("abcd");
    QTest::keyClick(editor_, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(editor_, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClicks(editor_, QStringLiteral("xy"));
    EXPECT_EQ(area_->text(), "abcx");
}

TEST_F(MessageAreaTyping, TypedCharactersOfEveryScriptStayThemselves) {
    // Greek and Cyrillic keys; an emoji and a letter with a combining accent as input methods commit them.
    for (const QChar ch : QStringLiteral(u"a\u20AC\u03B1\u0416")) {
        QTest::sendKeyEvent(QTest::Click, editor_, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
    for (const QString& committed : {QStringLiteral(u"\U0001F600"), QStringLiteral(u"e\u0301")}) {
        QInputMethodEvent event;
        event.setCommitString(committed);
        QApplication::sendEvent(editor_, &event);
    }
    EXPECT_EQ(area_->text(), "a\xE2\x82\xAC\xCE\xB1\xD0\x96\xF0\x9F\x98\x80" "e\xCC\x81");
}

TEST_F(MessageAreaTyping, PastingMoreThanTheRoomLeftInsertsNothingAndSaysWhy) {
    platform::MessageBox& box = window_->messageBox();
    area_->setLimit(6);
    area_->setText("abcd");
    QTest::keyClick(editor_, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(editor_, Qt::Key_Left, Qt::ShiftModifier); // "d" is replaced, so 3 fit
    QGuiApplication::clipboard()->setText(QStringLiteral("efgh"));
    box.setNextAnswer(platform::MessageBox::Answer::Ok);
    QTest::keyClick(editor_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(area_->text(), "abcd");
    ASSERT_EQ(shownBoxes(*window_).size(), 1u);
    EXPECT_TRUE(shownBoxes(*window_)[0].text.contains(QStringLiteral("clipboard is 4 characters long")));
    EXPECT_TRUE(shownBoxes(*window_)[0].text.contains(QStringLiteral("room for 3 more"))) << shownBoxes(*window_)[0].text.toStdString();

    QGuiApplication::clipboard()->setText(QStringLiteral("efg"));
    QTest::keyClick(editor_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(area_->text(), "abcefg");
    EXPECT_EQ(shownBoxes(*window_).size(), 1u);
}

TEST_F(MessageAreaTyping, PastedLineBreaksBecomeCrLfAndCountAsTwo) {
    QGuiApplication::clipboard()->setText(QStringLiteral("one\ntwo\r\nthree\rfour"));
    QTest::keyClick(editor_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(area_->text(), "one\r\ntwo\r\nthree\r\nfour");

    area_->setText("");
    area_->setLimit(4);
    QGuiApplication::clipboard()->setText(QStringLiteral("abc\n"));
    window_->messageBox().setNextAnswer(platform::MessageBox::Answer::Ok);
    QTest::keyClick(editor_, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(area_->text(), "");
    EXPECT_EQ(shownBoxes(*window_).size(), 1u);
}

TEST_F(MessageAreaTyping, CopyAndCutGiveTheCodesAsText) {
    area_->setText("a\r\n\xE2\x82\xAC");
    QTest::keyClick(editor_, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(editor_, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(editor_, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral(u"a\r\n\u20AC"));
    QTest::keyClick(editor_, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(area_->isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral(u"a\r\n\u20AC"));
}

} // namespace
} // namespace tarvex::window::test
