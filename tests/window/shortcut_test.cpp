// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include "window/message_editor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <span>

namespace tarvex::window::test {
namespace {

struct ShortcutRow {
    const char* item;
    Qt::Key key;
};

// Every Ctrl shortcut of the menus besides Ctrl+C, Ctrl+V and Ctrl+X.
constexpr ShortcutRow kWindowShortcuts[] = {
    {"mnuFileLoad", Qt::Key_L}, {"mnuFileSave", Qt::Key_S},    {"mnuEditClear", Qt::Key_T},
    {"mnuEditClip", Qt::Key_B}, {"mnuKeyLoad", Qt::Key_O},     {"mnuKeyCreate", Qt::Key_R},
    {"mnuKeyAgree", Qt::Key_G},
    {"mnuSecEncrypt", Qt::Key_E}, {"mnuSecDecrypt", Qt::Key_D}, {"mnuModeICQ", Qt::Key_I},
    {"mnuModeEmail", Qt::Key_M}, {"mnuModeFile", Qt::Key_F},    {"mnuHelpTarvex", Qt::Key_H},
    {"mnuHelpAbout", Qt::Key_A},
};

constexpr ShortcutRow kEditingShortcuts[] = {
    {"mnuEditCopy", Qt::Key_C}, {"mnuEditPaste", Qt::Key_V}, {"mnuFileExit", Qt::Key_X}};

class Shortcuts : public ::testing::Test {
protected:
    void SetUp() override { window_ = showWindow(); }

    // Every item on, so that a shortcut that reaches its item shows.
    void enableEveryItem() {
        for (QAction* item : window_->findChildren<QAction*>()) {
            item->setEnabled(true);
        }
    }

    // The items open real dialogs; answer them (cancel, No) so nothing blocks.
    void answerDialogs() {
        window_->fileDialog().setNextFileName({});
        window_->messageBox().setNextAnswer(platform::MessageBox::Answer::No);
    }

    // Agree On A Key opens its dialog without blocking; close it, so that the
    // window has the keyboard again.
    void closeOpenedDialogs() {
        bool closed = false;
        for (QDialog* dialog : window_->findChildren<QDialog*>()) {
            if (dialog->isVisible()) {
                dialog->reject();
                closed = true;
            }
        }
        if (!closed) return;
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    QWidget* focusMessageArea() {
        messageArea(*window_).setFocus();
        return QApplication::focusWidget();
    }

    std::unique_ptr<Tarvex> window_;
};

TEST_F(Shortcuts, MenuShortcutsRunTheirItemsWhileTheMessageAreaHasTheFocus) {
    const std::string text = "line one\r\nline two";
    for (const ShortcutRow& row : kWindowShortcuts) {
        messageArea(*window_).setText(text);
        QWidget* editor = focusMessageArea();
        auto& cursorOwner = *qobject_cast<MessageEditor*>(editor);
        cursorOwner.setCursorPosition(0);
        enableEveryItem();
        answerDialogs();
        QSignalSpy triggered(&menuItem(*window_, row.item), &QAction::triggered);
        QTest::keyClick(editor, row.key, Qt::ControlModifier);
        EXPECT_EQ(triggered.count(), 1) << row.item;
        closeOpenedDialogs();
        // Clear Text empties the area by design; no other item may touch the text.
        if (std::string_view(row.item) != "mnuEditClear") {
            EXPECT_EQ(messageArea(*window_).text(), text) << row.item;
        }
        EXPECT_EQ(cursorOwner.cursorPosition(), 0) << row.item << " moved the cursor";
        EXPECT_FALSE(cursorOwner.hasSelection()) << row.item << " selected text";
    }
}

TEST_F(Shortcuts, DisabledItemsLeaveTheirKeysUnusedInTheMessageArea) {
    const std::string text = "line one\r\nline two";
    messageArea(*window_).setText(text);
    for (const ShortcutRow& row : {ShortcutRow{"mnuSecEncrypt", Qt::Key_E}, ShortcutRow{"mnuSecDecrypt", Qt::Key_D},
                                   ShortcutRow{"mnuHelpAbout", Qt::Key_A}}) {
        menuItem(*window_, row.item).setEnabled(false);
        QWidget* editor = focusMessageArea();
        auto& cursorOwner = *qobject_cast<MessageEditor*>(editor);
        cursorOwner.setCursorPosition(0);
        QTest::keyClick(editor, row.key, Qt::ControlModifier);
        EXPECT_EQ(messageArea(*window_).text(), text) << row.item;
        EXPECT_EQ(cursorOwner.cursorPosition(), 0) << row.item;
        EXPECT_FALSE(cursorOwner.hasSelection()) << row.item;
    }
}

TEST_F(Shortcuts, CopyPasteAndCutEditTheMessageAreaInsteadOfRunningItems) {
    QWidget* editor = focusMessageArea();
    QSignalSpy copyItem(&menuItem(*window_, "mnuEditCopy"), &QAction::triggered);
    QSignalSpy pasteItem(&menuItem(*window_, "mnuEditPaste"), &QAction::triggered);
    QSignalSpy exitItem(&menuItem(*window_, "mnuFileExit"), &QAction::triggered);

    const auto pressCtrl = [&](Qt::Key key) {
        enableEveryItem();
        QTest::keyClick(editor, key, Qt::ControlModifier);
    };
    QTest::keyClicks(editor, QStringLiteral("secret"));
    QTest::keyClick(editor, Qt::Key_Home, Qt::ShiftModifier);
    pressCtrl(Qt::Key_C);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("secret"));
    pressCtrl(Qt::Key_X);
    EXPECT_TRUE(messageArea(*window_).isEmpty());
    pressCtrl(Qt::Key_V);
    pressCtrl(Qt::Key_V);
    EXPECT_EQ(messageArea(*window_).text(), "secretsecret");

    EXPECT_EQ(copyItem.count(), 0);
    EXPECT_EQ(pasteItem.count(), 0);
    EXPECT_EQ(exitItem.count(), 0);
}

TEST_F(Shortcuts, EveryMenuShortcutRunsItsItemElsewhere) {
    for (const char* focus : {"Option2", "Command3", "Text1"}) {
        control<QWidget>(*window_, focus).setFocus();
        for (const auto& rows : {std::span<const ShortcutRow>(kWindowShortcuts),
                                 std::span<const ShortcutRow>(kEditingShortcuts)}) {
            for (const ShortcutRow& row : rows) {
                enableEveryItem();
                answerDialogs();
                QSignalSpy triggered(&menuItem(*window_, row.item), &QAction::triggered);
                QTest::keyClick(QApplication::focusWidget(), row.key, Qt::ControlModifier);
                EXPECT_EQ(triggered.count(), 1) << row.item << " with the focus on " << focus;
                closeOpenedDialogs();
            }
        }
    }
}

TEST_F(Shortcuts, AltWithALetterOfBothAButtonAndAMenuOpensTheMenu) {
    const std::pair<Qt::Key, const char*> shared[] = {
        {Qt::Key_E, "mnuEdit"}, {Qt::Key_F, "mnuFile"}, {Qt::Key_M, "mnuMode"}, {Qt::Key_S, "mnuSec"}};
    // Make the buttons that share these letters able to answer, had they the key.
    for (QWidget* widget : window_->centralWidget()->findChildren<QWidget*>()) {
        widget->setEnabled(true);
    }
    for (const auto& [key, menuName] : shared) {
        control<QWidget>(*window_, "Command4").setFocus();
        QSignalSpy opened(&control<QMenu>(*window_, menuName), &QMenu::aboutToShow);
        QTest::keyClick(window_.get(), key, Qt::AltModifier);
        EXPECT_EQ(opened.count(), 1) << menuName;
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        EXPECT_EQ(window_->currentMode(), kNoMode) << "no option button answered Alt+" << menuName;
        EXPECT_FALSE(control<QAbstractButton>(*window_, "Option2").isChecked());
        EXPECT_FALSE(control<QAbstractButton>(*window_, "Option3").isChecked());
    }
}

TEST_F(Shortcuts, AltWithAButtonsOwnLetterClicksIt) {
    control<QAbstractButton>(*window_, "Option2").click();
    QSignalSpy clicked(&control<QAbstractButton>(*window_, "Option1"), &QAbstractButton::clicked);
    QTest::keyClick(window_.get(), Qt::Key_I, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicked.count() == 1; }, 2000));
    EXPECT_EQ(window_->currentMode(), kIcqMode);
}

} // namespace
} // namespace tarvex::window::test
