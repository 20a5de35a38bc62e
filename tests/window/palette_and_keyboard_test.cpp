// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include "../cipher/test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace tarvex::window::test {
namespace {

// The message area's editor inside `Text3` counts as `Text3`.
QString focusName(const Tarvex& window) {
    QWidget* focused = QApplication::focusWidget();
    if (focused != nullptr && messageArea(window).isAncestorOf(focused)) {
        return QStringLiteral("Text3");
    }
    return focused != nullptr ? focused->objectName() : QString();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

class Keyboard : public ::testing::Test {
protected:
    tarvex::test::TempDir dir;
    std::unique_ptr<Tarvex> window = showWindow();

    void focus(const char* name) { control<QWidget>(*window, name).setFocus(Qt::TabFocusReason); }
    QString pathOf(const std::string& name) const { return QString::fromStdString(dir.file(name)); }
};

TEST_F(Keyboard, TabReachesTheSelectedModeButtonWhicheverHadTheFocus) {
    // A message enables Copy and Clear Text, the first and last stops around the group.
    messageArea(*window).setText("hi");
    // The focus stays on ICQ while the shortcuts choose another mode.
    focus("Option1");
    press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(window->currentMode(), kFileMode);
    ASSERT_EQ(focusName(*window), QStringLiteral("Option1"));
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(*window), QStringLiteral("Command1"));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focusName(*window), QStringLiteral("Option3")) << "Shift+Tab back into the group";

    press(Qt::Key_M, Qt::ControlModifier);
    ASSERT_EQ(window->currentMode(), kEmailMode);
    focus("Command10");
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(*window), QStringLiteral("Option2")) << "Tab round from the last control";
    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(*window), QStringLiteral("Command1"));
}

TEST_F(Keyboard, AChosenKeyPassesTheFocusToTheMessageArea) {
    focus("Command5");
    window->commonDialog().setNextFileName({});
    press(Qt::Key_Space);
    EXPECT_EQ(focusName(*window), QStringLiteral("Command5")) << "cancelled Create Key";

    window->commonDialog().setNextFileName(pathOf("shared.tvk"));
    press(Qt::Key_Space);
    ASSERT_EQ(control<QLineEdit>(*window, "Text1").text(), pathOf("shared.tvk"));
    EXPECT_EQ(focusName(*window), QStringLiteral("Text3")) << "after Create Key";
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("hi"));
    EXPECT_EQ(messageArea(*window).text(), "hi");

    focus("Command4");
    window->commonDialog().setNextFileName({});
    press(Qt::Key_Space);
    EXPECT_EQ(focusName(*window), QStringLiteral("Command4")) << "cancelled Load Key, a key still set";

    window->commonDialog().setNextFileName(pathOf("shared.tvk"));
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(focusName(*window), QStringLiteral("Text3")) << "the same key loaded again with Ctrl+O";
}

TEST_F(Keyboard, F1OpensHelpLikeCtrlH) {
    QSignalSpy help(&menuItem(*window, "mnuHelpTarvex"), &QAction::triggered);
    for (const char* place : {"Command1", "Text3"}) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        control<QWidget>(*window, place).setFocus();
        const qsizetype before = help.count();
        press(Qt::Key_F1);
        EXPECT_EQ(help.count(), before + 1) << place;
        // The help window comes to the front; put it away for the next round.
        for (QWidget* shown : QApplication::topLevelWidgets()) {
            if (shown != window.get() && shown->isVisible()) shown->close();
        }
    }
}

} // namespace
} // namespace tarvex::window::test
