// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include "platform/system_colour.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QActionGroup>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace tarvex::window::test {
namespace {

enum class Path { Option, Menu };

constexpr ModeNumber kModes[] = {kIcqMode, kEmailMode, kFileMode};
const QString kFileName = QStringLiteral("/home/ann/letter.txt");

std::size_t limitOf(ModeNumber mode) {
    return mode == kIcqMode ? kIcqTextLimit : 0;
}

class ModeSwitch : public ::testing::TestWithParam<std::tuple<ModeNumber, ModeNumber, Path, bool>> {};

TEST_P(ModeSwitch, EndsInTheSettingsOfTheMode) {
    const auto [from, to, path, withText] = GetParam();
    const auto window = loadWindow();
    enterMode(*window, from);
    auto& fileName = control<QLineEdit>(*window, "Text2");
    fileName.setText(kFileName);
    const std::string text = withText ? "Hello" : "";
    messageArea(*window).setText(text);
    const std::size_t limitBefore = messageArea(*window).limit();

    // The option button of the mode is already selected when the window is in
    // that mode, and at start for ICQ.
    const bool alreadySelected = from == to || (from == kNoMode && to == kIcqMode);

    if (path == Path::Option) {
        clickModeOption(*window, to);
    } else {
        chooseModeItem(*window, to);
    }

    const bool anyHandlerRan = !(alreadySelected && path == Path::Option);
    const ModeNumber shown = anyHandlerRan ? to : from;
    // Only the option path sets the limit and empties the file name; a menu
    // choice of the selected mode runs no option path.
    const bool optionPathRan = !alreadySelected;

    EXPECT_EQ(window->currentMode(), anyHandlerRan ? to : from);
    EXPECT_EQ(messageArea(*window).limit(), optionPathRan ? limitOf(to) : limitBefore);
    const bool emptied = optionPathRan && to != kFileMode;
    EXPECT_EQ(fileName.text(), emptied ? QString() : kFileName);
    EXPECT_EQ(messageArea(*window).text(), text) << "switching modes never changes the text";

    if (shown == kNoMode) {
        EXPECT_EQ(window->textFileNameBackground(), platform::kMenuBackground);
        EXPECT_FALSE(fileName.isEnabled());
        return;
    }
    const bool file = shown == kFileMode;
    EXPECT_EQ(fileName.isEnabled(), file);
    EXPECT_EQ(window->textFileNameBackground(), file ? platform::kHighlightedText : platform::kButtonFace);
    for (const ModeNumber mode : kModes) {
        EXPECT_EQ(menuItem(*window, modeItemName(mode)).isChecked(), mode == shown) << modeItemName(mode);
        EXPECT_EQ(control<QAbstractButton>(*window, optionName(mode)).isChecked(), mode == shown)
            << optionName(mode);
    }
    EXPECT_EQ(isEnabled(*window, "Command7"), file);
    EXPECT_EQ(isEnabled(*window, "mnuFileLoad"), file);
    EXPECT_EQ(isEnabled(*window, "Command6"), file && withText);
    EXPECT_EQ(isEnabled(*window, "mnuFileSave"), file && withText);
}

std::string caseName(const ::testing::TestParamInfo<ModeSwitch::ParamType>& info) {
    const auto [from, to, path, withText] = info.param;
    return "From" + std::to_string(from) + "To" + std::to_string(to) + (path == Path::Option ? "ByOption" : "ByMenu") +
           (withText ? "WithText" : "Empty");
}

INSTANTIATE_TEST_SUITE_P(EveryModeAndPath, ModeSwitch,
                         ::testing::Combine(::testing::Values(kNoMode, kIcqMode, kEmailMode, kFileMode),
                                            ::testing::Values(kIcqMode, kEmailMode, kFileMode),
                                            ::testing::Values(Path::Option, Path::Menu), ::testing::Bool()),
                         caseName);

TEST(ModeStartUp, IcqFromTheMenuAtStartKeepsNoLimit) {
    const auto window = loadWindow();
    chooseModeItem(*window, kIcqMode);
    EXPECT_EQ(window->currentMode(), kIcqMode);
    EXPECT_EQ(messageArea(*window).limit(), 0u);
}

TEST(ModeStartUp, EmailThenIcqAppliesTheLimit) {
    const auto window = loadWindow();
    chooseModeItem(*window, kEmailMode);
    EXPECT_EQ(window->currentMode(), kEmailMode);
    chooseModeItem(*window, kIcqMode);
    EXPECT_EQ(messageArea(*window).limit(), kIcqTextLimit);
}

TEST(ModeStartUp, ClickOnTheSelectedIcqButtonAtStartRunsNothing) {
    const auto window = loadWindow();
    clickModeOption(*window, kIcqMode);
    EXPECT_EQ(window->currentMode(), kNoMode);
    EXPECT_EQ(messageArea(*window).limit(), 0u);
    EXPECT_TRUE(control<QAbstractButton>(*window, "Option1").isChecked());
}

TEST(ModeLimit, IcqKeepsALongerTextButTakesNoMore) {
    const auto window = showWindow();
    clickModeOption(*window, kEmailMode);
    MessageArea& message = messageArea(*window);
    message.setText(std::string(600, 'a'));
    clickModeOption(*window, kIcqMode);
    EXPECT_EQ(message.text().size(), 600u);

    message.setFocus();
    QWidget* editor = QApplication::focusWidget();
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_B);
    EXPECT_EQ(message.text().size(), 600u);
    for (int i = 0; i < 151; ++i) {
        QTest::keyClick(editor, Qt::Key_Backspace);
    }
    EXPECT_EQ(message.text().size(), 449u);
    QTest::keyClicks(editor, QStringLiteral("bcd"));
    EXPECT_EQ(message.text(), std::string(449, 'a') + "b");
}

TEST(ModeLimit, IcqCutsTextThatACommandSets) {
    const auto window = loadWindow();
    clickModeOption(*window, kEmailMode);
    clickModeOption(*window, kIcqMode);
    const std::string cipherText = "\xC3\xB0" + std::string(450, 'k');
    messageArea(*window).setText(cipherText);
    EXPECT_EQ(messageArea(*window).text(), cipherText.substr(0, 451)) << "450 characters";
}

TEST(ModeFileName, LeavingFileModeEmptiesItAndComingBackKeepsItEmpty) {
    const auto window = loadWindow();
    clickModeOption(*window, kFileMode);
    auto& fileName = control<QLineEdit>(*window, "Text2");
    fileName.setText(kFileName);
    chooseModeItem(*window, kEmailMode);
    EXPECT_TRUE(fileName.text().isEmpty());
    chooseModeItem(*window, kFileMode);
    EXPECT_TRUE(fileName.text().isEmpty());
    EXPECT_TRUE(fileName.isEnabled());
}

// Screen readers hear the mode buttons as radio buttons, and the menu shows
// its mode items as one exclusive choice.
TEST(ModeAccessibility, ButtonsAreRadioButtonsAndMenuItemsOneExclusiveGroup) {
    const auto window = loadWindow();
    clickModeOption(*window, kEmailMode);
    const QActionGroup* group = menuItem(*window, modeItemName(kIcqMode)).actionGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->exclusionPolicy(), QActionGroup::ExclusionPolicy::Exclusive);
    for (const ModeNumber mode : kModes) {
        EXPECT_EQ(menuItem(*window, modeItemName(mode)).actionGroup(), group) << modeItemName(mode);
        QAccessibleInterface* button =
            QAccessible::queryAccessibleInterface(&control<QAbstractButton>(*window, optionName(mode)));
        ASSERT_NE(button, nullptr) << optionName(mode);
        EXPECT_EQ(button->role(), QAccessible::RadioButton) << optionName(mode);
        EXPECT_EQ(button->text(QAccessible::Name), control<QAbstractButton>(*window, optionName(mode)).text().remove('&'));
        EXPECT_TRUE(button->state().checkable) << optionName(mode);
        EXPECT_EQ(button->state().checked, mode == kEmailMode) << optionName(mode);
    }
    // Chinese and Arabic captions carry the access key after the word, in parentheses.
    auto& file = control<QAbstractButton>(*window, optionName(kFileMode));
    file.setText(QStringLiteral("\u6587\u4EF6(&F)"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&file)->text(QAccessible::Name), QStringLiteral("\u6587\u4EF6"));
}

} // namespace
} // namespace tarvex::window::test
