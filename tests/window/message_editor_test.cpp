// SPDX-License-Identifier: GPL-3.0-or-later

// The message area's own view: rows, cursor, selection, scrolling and the
// ways text comes in, driven by keys, mouse, input method and drops.
#include "window_test_support.h"

#include "window/message_editor.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTextBoundaryFinder>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace tarvex::window::test {
namespace {

class MessageEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = showWindow();
        area_ = &messageArea(*window_);
        area_->setFocus();
        editor_ = area_->findChild<MessageEditor*>();
        ASSERT_NE(editor_, nullptr);
        ASSERT_EQ(QApplication::focusWidget(), editor_);
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(editor_, key, modifiers);
    }

    // The point in the middle of a row, `fraction` of the way across its width.
    QPoint pointIn(std::size_t rowOnScreen, double fraction) const {
        const QFontMetrics metrics(editor_->font());
        const int width = editor_->viewport()->width();
        return {static_cast<int>(width * fraction),
                4 + static_cast<int>(rowOnScreen) * metrics.lineSpacing() + metrics.lineSpacing() / 2};
    }

    std::unique_ptr<Tarvex> window_;
    MessageArea* area_ = nullptr;
    MessageEditor* editor_ = nullptr;
};

// A cipher text: no blank anywhere to break at.
std::string longLine(std::size_t size) {
    std::string text(size, 'x');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('A' + i % 26);
    }
    return text;
}

TEST_F(MessageEditorTest, ALongLineWithoutBlanksWrapsAtTheWidthAndNarrowerMeansMoreRows) {
    const std::string text = longLine(2000);
    area_->setText(text);
    const std::size_t rows = editor_->rowCount();
    EXPECT_GT(rows, 10u);

    area_->resize(area_->width() / 2, area_->height());
    QApplication::processEvents();
    EXPECT_GT(editor_->rowCount(), rows * 3 / 2);
    EXPECT_EQ(area_->text(), text) << "wrapping is only how the text is shown";
}

TEST_F(MessageEditorTest, WordsWrapWholeWhereThereAreBlanks) {
    std::string words;
    while (words.size() < 2000) {
        words += "abcdefgh ";
    }
    area_->setText(words);
    // Every row starts with a whole word: after the end of a row comes an 'a'.
    for (int row = 0; row < 5; ++row) {
        press(Qt::Key_End);
        EXPECT_EQ(editor_->cursorRow(), static_cast<std::size_t>(row));
        press(Qt::Key_Right, Qt::ShiftModifier);
        EXPECT_EQ(editor_->selectedText().toStdString(), "a") << "row " << row + 1;
        press(Qt::Key_Right);
    }
}

TEST_F(MessageEditorTest, HomeEndAndUpDownFollowTheRowsOfAWrappedLine) {
    area_->setText(longLine(3000));
    press(Qt::Key_End);
    const std::size_t firstRowEnd = editor_->cursorPosition();
    EXPECT_GT(firstRowEnd, 0u);
    EXPECT_EQ(editor_->cursorRow(), 0u) << "End stays at the end of its row";
    press(Qt::Key_Home);
    EXPECT_EQ(editor_->cursorPosition(), 0u);

    press(Qt::Key_Right);
    press(Qt::Key_Right);
    press(Qt::Key_Down);
    EXPECT_EQ(editor_->cursorRow(), 1u);
    EXPECT_NEAR(static_cast<double>(editor_->cursorPosition()), static_cast<double>(firstRowEnd + 2), 2.0);
    press(Qt::Key_Up);
    EXPECT_EQ(editor_->cursorPosition(), 2u);

    press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(editor_->cursorPosition(), 3000u);
    EXPECT_EQ(editor_->cursorRow(), editor_->rowCount() - 1);
}

TEST_F(MessageEditorTest, ALineBreakIsOneStepForTheCursorAndOneKeyToDelete) {
    area_->setText("ab\r\ncd");
    editor_->setCursorPosition(2);
    press(Qt::Key_Right);
    EXPECT_EQ(editor_->cursorPosition(), 4u);
    press(Qt::Key_Left);
    EXPECT_EQ(editor_->cursorPosition(), 2u);
    press(Qt::Key_Delete);
    EXPECT_EQ(area_->text(), "abcd");

    area_->setText("ab\r\ncd");
    editor_->setCursorPosition(4);
    press(Qt::Key_Backspace);
    EXPECT_EQ(area_->text(), "abcd");

    area_->setText("a\r\rb\n\nc");
    press(Qt::Key_End, Qt::ControlModifier);
    for (int i = 0; i < 7; ++i) {
        press(Qt::Key_Backspace);
    }
    EXPECT_TRUE(area_->isEmpty()) << "lone CR and LF are one code each";
}

TEST_F(MessageEditorTest, WordStepsStopAtTheStartsOfWords) {
    area_->setText("one two\r\nthree");
    press(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(editor_->cursorPosition(), 4u);
    press(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editor_->selectedText().toStdString(), "two\r\n");
    press(Qt::Key_End, Qt::ControlModifier);
    press(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(editor_->cursorPosition(), 9u);
    press(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(area_->text(), "one twothree") << "Ctrl+Backspace at a line start takes the line break";
}

TEST_F(MessageEditorTest, ShiftWithMovementSelectsAndCopyGivesTheSelection) {
    area_->setText(longLine(3000));
    press(Qt::Key_Right);
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    const std::string selected = editor_->selectedText().toStdString();
    EXPECT_GT(selected.size(), 2u);
    EXPECT_EQ(selected, std::string_view(area_->text()).substr(1, selected.size()));
    press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), selected);

    press(Qt::Key_Left);
    EXPECT_FALSE(editor_->hasSelection());
    EXPECT_EQ(editor_->cursorPosition(), 1u) << "Left drops a selection at its start";
}

TEST_F(MessageEditorTest, PageKeysMoveAPageAndKeepTheCursorInSight) {
    area_->setText(longLine(1024 * 1024));
    const std::size_t page = editor_->visibleRowCount();
    press(Qt::Key_PageDown);
    EXPECT_EQ(editor_->cursorRow(), page);
    EXPECT_GE(editor_->cursorRow(), editor_->firstVisibleRow());
    EXPECT_LT(editor_->cursorRow(), editor_->firstVisibleRow() + page);
    press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(editor_->cursorRow(), editor_->rowCount() - 1);
    EXPECT_GE(editor_->cursorRow(), editor_->firstVisibleRow());
    EXPECT_LT(editor_->cursorRow(), editor_->firstVisibleRow() + page);
    press(Qt::Key_PageUp);
    EXPECT_EQ(editor_->cursorRow(), editor_->rowCount() - 1 - page);
    EXPECT_TRUE(editor_->verticalScrollBar()->isVisible());
}

TEST_F(MessageEditorTest, TheScrollBarScrollsTheRowsWithoutMovingTheCursor) {
    area_->setText(longLine(20000));
    QScrollBar* bar = editor_->verticalScrollBar();
    EXPECT_EQ(static_cast<std::size_t>(bar->maximum()), editor_->rowCount() - editor_->visibleRowCount());
    bar->setValue(bar->maximum());
    EXPECT_EQ(editor_->firstVisibleRow(), static_cast<std::size_t>(bar->maximum()));
    EXPECT_EQ(editor_->cursorPosition(), 0u);
    // Typing brings the cursor back into sight.
    QTest::keyClicks(editor_, QStringLiteral("z"));
    EXPECT_EQ(editor_->firstVisibleRow(), 0u);
    EXPECT_EQ(area_->text().front(), 'z');
}

TEST_F(MessageEditorTest, ClickingPlacesTheCursorAndDraggingSelects) {
    area_->setText(longLine(3000));
    QWidget* view = editor_->viewport();
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, pointIn(1, 0.0));
    const std::size_t secondRowStart = editor_->cursorPosition();
    EXPECT_GT(secondRowStart, 0u);
    EXPECT_EQ(editor_->cursorRow(), 1u);

    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, pointIn(0, 0.0));
    QTest::mouseMove(view, pointIn(2, 0.0));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, pointIn(2, 0.0));
    EXPECT_EQ(editor_->selectedText().toStdString(), std::string_view(area_->text()).substr(0, editor_->cursorPosition()));
    EXPECT_GT(editor_->cursorPosition(), secondRowStart);

    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, pointIn(0, 0.0));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, pointIn(1, 0.0));
    EXPECT_EQ(editor_->selectedText().toStdString(), std::string_view(area_->text()).substr(0, secondRowStart));
}

TEST_F(MessageEditorTest, DoubleClickSelectsAWord) {
    area_->setText("alpha beta gamma");
    QTest::mouseDClick(editor_->viewport(), Qt::LeftButton, Qt::NoModifier, pointIn(0, 0.02));
    EXPECT_EQ(editor_->selectedText().toStdString(), "alpha");
}

TEST_F(MessageEditorTest, UndoAndRedoTakeBackTypingAndCutting) {
    area_->setText("keep");
    press(Qt::Key_End);
    QTest::keyClicks(editor_, QStringLiteral(" this"));
    press(Qt::Key_Home, Qt::ShiftModifier);
    press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(area_->isEmpty());
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(area_->text(), "keep this");
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(area_->text(), "keep") << "what was typed in a row goes back at once";
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(area_->text(), "keep this");
}

TEST_F(MessageEditorTest, AfterUndoUpAndDownStartFromWhereTheCursorLands) {
    area_->setText("abcdefghij\r\nklmnopqrst");
    QTest::keyClicks(editor_, QStringLiteral("Z"));
    press(Qt::Key_Down);
    press(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(editor_->cursorPosition(), 0u);
    press(Qt::Key_Down);
    EXPECT_EQ(editor_->cursorPosition(), 12u) << "the start of the second line, as from any other edit";
}

TEST_F(MessageEditorTest, InputMethodTextIsCutToTheRoomAndPreeditIsNotText) {
    area_->setLimit(4);
    area_->setText("ab");
    press(Qt::Key_End);
    QInputMethodEvent composing(QStringLiteral("x"), {});
    QApplication::sendEvent(editor_, &composing);
    EXPECT_EQ(area_->text(), "ab");
    QInputMethodEvent committed;
    committed.setCommitString(QStringLiteral(u"\u00E9\u00E8\u00EA"));
    QApplication::sendEvent(editor_, &committed);
    EXPECT_EQ(area_->text(), "ab\xC3\xA9\xC3\xA8");
    EXPECT_EQ(editor_->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral(u"ab\u00E9\u00E8"));
    EXPECT_EQ(editor_->inputMethodQuery(Qt::ImCursorPosition).toInt(), 4);
}

TEST_F(MessageEditorTest, DroppedTextGoesWhereItIsDroppedWholeOrNotAtAll) {
    area_->setLimit(6);
    area_->setText("abcd");
    const auto dropAtStart = [this](const QString& text) {
        QMimeData data;
        data.setText(text);
        const QPoint start = pointIn(0, 0.0);
        QDragEnterEvent enter(start, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor_->viewport(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDragMoveEvent move(start, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor_->viewport(), &move);
        QDropEvent drop(start, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor_->viewport(), &drop);
        return drop.isAccepted();
    };

    window_->messageBox().setNextAnswer(platform::MessageBox::Answer::Ok);
    EXPECT_FALSE(dropAtStart(QStringLiteral("xyz")));
    EXPECT_EQ(area_->text(), "abcd");
    QCoreApplication::processEvents(); // the message comes after the drop has ended
    ASSERT_EQ(shownBoxes(*window_).size(), 1u);
    EXPECT_TRUE(shownBoxes(*window_)[0].text.contains(QStringLiteral("dropped text is 3 characters long")))
        << shownBoxes(*window_)[0].text.toStdString();

    EXPECT_TRUE(dropAtStart(QStringLiteral("xy")));
    EXPECT_EQ(area_->text(), "xyabcd");
}

TEST_F(MessageEditorTest, ADisabledAreaTakesNoFocusAndShowsItsTextGreyed) {
    area_->setText("text");
    editor_->clearFocus();
    const QImage enabled = editor_->viewport()->grab().toImage();
    area_->setEnabled(false);
    EXPECT_FALSE(editor_->hasFocus());
    const QImage disabled = editor_->viewport()->grab().toImage();
    EXPECT_NE(enabled, disabled);
    area_->setEnabled(true);
    EXPECT_EQ(area_->text(), "text");
}

TEST_F(MessageEditorTest, TheCaretStepsOverWholeCharactersAndBackspaceTakesOneAway) {
    // a, e with a combining acute, an emoji, a thumb with a skin tone, a flag, CR LF, b.
    const QString text = QStringLiteral(u"ae\u0301\U0001F600\U0001F44D\U0001F3FD\U0001F1E9\U0001F1EA\r\nb");
    area_->setText(text.toStdString());
    std::vector<std::size_t> stops{editor_->cursorPosition()};
    for (int i = 0; i < 8; ++i) {
        press(Qt::Key_Right);
        stops.push_back(editor_->cursorPosition());
    }
    EXPECT_EQ(stops, (std::vector<std::size_t>{0, 1, 3, 5, 9, 13, 15, 16, 16}));
    for (int i = 0; i < 3; ++i) press(Qt::Key_Backspace);
    EXPECT_EQ(QString::fromUtf8(area_->text()), text.first(9)) << "b, the line break and the flag, whole";
    press(Qt::Key_Left);
    press(Qt::Key_Delete);
    EXPECT_EQ(QString::fromUtf8(area_->text()), text.first(5));
}

TEST_F(MessageEditorTest, RightToLeftTextShowsAndMovesInItsVisualOrder) {
    // "shalom": its first letter stands rightmost.
    area_->setText("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D");
    EXPECT_GT(editor_->codeRect(0).left(), editor_->codeRect(3).left());
    press(Qt::Key_Home);
    const std::size_t start = editor_->cursorPosition();
    press(Qt::Key_Left);
    EXPECT_EQ(editor_->cursorPosition(), start == 0 ? 1u : start - 1) << "Left moves on toward the text's end";
    // A click at the left edge lands after the last letter.
    QTest::mouseClick(editor_->viewport(), Qt::LeftButton, Qt::NoModifier, pointIn(0, 0.0));
    EXPECT_EQ(editor_->cursorPosition(), 4u);
}

// Where Unicode's characters begin and end, as Qt's own finder sees them.
std::vector<std::size_t> characterBoundaries(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    std::vector<std::size_t> boundaries{0};
    while (finder.toNextBoundary() > 0) boundaries.push_back(static_cast<std::size_t>(finder.position()));
    return boundaries;
}

// In a row of right-to-left or mixed text, Right from the left end moves the
// caret right by one whole character a press, meets every boundary once and
// ends at the right end; Left walks the same way back. Across the rows of a
// wrapped right-to-left paragraph, Left reads it from its start to its end.
TEST_F(MessageEditorTest, LeftAndRightStepThroughRowsAsTheyAreSeen) {
    const auto caretX = [this] { return editor_->inputMethodQuery(Qt::ImCursorRectangle).toRect().x(); };
    // Presses a key until the caret stays; the positions met and where the caret stood.
    const auto walk = [&](Qt::Key key) {
        std::vector<std::pair<std::size_t, int>> met{{editor_->cursorPosition(), caretX()}};
        for (int press = 0; press < 400; ++press) {
            this->press(key);
            const std::pair<std::size_t, int> now{editor_->cursorPosition(), caretX()};
            if (now == met.back()) break;
            met.push_back(now);
        }
        return met;
    };
    const QString rows[] = {
        // Hebrew with its points, Arabic with a lam-alef, and both among Latin words, digits and an emoji.
        QStringLiteral(u"\u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD \u05E2\u05D5\u05B9\u05DC\u05B8\u05DD"),
        QStringLiteral(u"\u0627\u0644\u0633\u0644\u0627\u0645 \u0639\u0644\u064A\u0643\u0645 \u0644\u0627"),
        QStringLiteral(u"Meet \u05D0\u05D1\u05D2 at 12:30, \u0644\u0627 \U0001F600 ok"),
        QStringLiteral(u"\u05D0\u05D1\u05D2 abc \u05D3\u05D4 42 \u05D5"),
    };
    for (const QString& text : rows) {
        area_->setText(text.toStdString());
        ASSERT_EQ(editor_->rowCount(), 1u);
        QTest::mouseClick(editor_->viewport(), Qt::LeftButton, Qt::NoModifier, pointIn(0, 0.0));
        const std::vector<std::pair<std::size_t, int>> rightward = walk(Qt::Key_Right);
        std::vector<std::size_t> met;
        for (std::size_t k = 0; k < rightward.size(); ++k) {
            met.push_back(rightward[k].first);
            if (k > 0) {
                EXPECT_GT(rightward[k].second, rightward[k - 1].second) << text.toStdString() << " step " << k;
            }
        }
        EXPECT_EQ(std::set<std::size_t>(met.begin(), met.end()).size(), met.size())
            << "a boundary met twice: " << text.toStdString();
        std::sort(met.begin(), met.end());
        EXPECT_EQ(met, characterBoundaries(text)) << text.toStdString();
        QTest::mouseClick(editor_->viewport(), Qt::LeftButton, Qt::NoModifier, pointIn(0, 0.99));
        EXPECT_EQ(editor_->cursorPosition(), rightward.back().first) << "Right ends at the right end";

        const std::vector<std::pair<std::size_t, int>> leftward = walk(Qt::Key_Left);
        std::vector<std::pair<std::size_t, int>> back(rightward.rbegin(), rightward.rend());
        EXPECT_EQ(leftward, back) << text.toStdString();
    }

    QString paragraph;
    for (int i = 0; i < 30; ++i) paragraph += QStringLiteral(u"\u0645\u0631\u062D\u0628\u064B\u0627 ");
    area_->setText(paragraph.toStdString());
    ASSERT_GT(editor_->rowCount(), 2u);
    press(Qt::Key_Home, Qt::ControlModifier);
    std::vector<std::size_t> read;
    for (const auto& [position, x] : walk(Qt::Key_Left)) {
        if (read.empty() || read.back() != position) read.push_back(position);
    }
    EXPECT_EQ(read, characterBoundaries(paragraph));
}

// Among right-to-left letters a control keeps the frame it has anywhere else,
// with its name drawn in it.
TEST_F(MessageEditorTest, AControlAmongRightToLeftLettersIsItsFramedName) {
    area_->setText("\x01");
    const QRect alone = editor_->codeRect(0);
    // "shalom", SOH, "shalom"
    area_->setText("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D\x01\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D");
    const QRect framed = editor_->codeRect(4);
    EXPECT_NEAR(framed.width(), alone.width(), 1);
    const QImage shown = editor_->viewport()->grab().toImage();
    const QColor base = editor_->palette().color(QPalette::Base);
    int ink = 0;
    for (int y = framed.top() + 1; y < framed.bottom(); ++y) {
        for (int x = framed.left() + 1; x < framed.right(); ++x) {
            ink += shown.pixelColor(x, y) != base ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 2 * framed.height() + 10) << "two sides of a frame and the letters of SOH";
}

TEST_F(MessageEditorTest, PastedAndDroppedTextOfAnyScriptGoesInAsItIs) {
    const QString world = QStringLiteral(u"\u041F\u0440\u0438\u0432\u0435\u0442, \u043C\u0438\u0440! "
                                         u"\U0001F600 \u65E5\u672C\u8A9E");
    QGuiApplication::clipboard()->setText(world);
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(QString::fromUtf8(area_->text()), world);
    EXPECT_EQ(editor_->length(), 18u) << "the emoji is one character";

    QMimeData data;
    data.setText(QStringLiteral(u"\u0391\u03B8\u03AE\u03BD\u03B1 "));
    const QPoint start = pointIn(0, 0.0);
    QDragEnterEvent enter(start, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor_->viewport(), &enter);
    QDropEvent drop(start, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor_->viewport(), &drop);
    EXPECT_EQ(QString::fromUtf8(area_->text()), data.text() + world);
    EXPECT_TRUE(shownBoxes(*window_).empty());
}

} // namespace
} // namespace tarvex::window::test
