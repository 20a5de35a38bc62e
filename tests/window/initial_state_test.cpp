// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include "platform/system_colour.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace tarvex::window::test {
namespace {

struct Expected {
    const char* name;
    bool enabled;
};

// The state right after start-up, empty text boxes.
constexpr Expected kAfterStartUp[] = {
    {"Command9", false}, {"Command8", false}, {"mnuSecEncrypt", false}, {"mnuSecDecrypt", false},
    {"Command1", false}, {"mnuEditCopy", false}, {"Command10", false}, {"mnuEditClear", false},
    {"Command2", true}, {"mnuEditPaste", true},
    {"Command7", false}, {"mnuFileLoad", false}, {"Command6", false}, {"mnuFileSave", false},
    {"Command3", true}, {"mnuEditClip", true}, {"Command4", true}, {"Command5", true},
    {"mnuKeyLoad", true}, {"mnuKeyCreate", true}, {"mnuKeyAgree", true},
    {"mnuFileExit", true},
    {"mnuHelpTarvex", true}, {"mnuHelpAbout", true},
    {"Option1", true}, {"Option2", true}, {"Option3", true},
    {"mnuModeICQ", true}, {"mnuModeEmail", true}, {"mnuModeFile", true},
    {"Text2", false},
};

TEST(InitialState, EnabledFlagsAfterStartUp) {
    const auto window = loadWindow();
    for (const Expected& row : kAfterStartUp) {
        EXPECT_EQ(isEnabled(*window, row.name), row.enabled) << row.name;
    }
}

TEST(InitialState, ModeShownAsIcqWithoutEnteringIt) {
    const auto window = loadWindow();
    EXPECT_TRUE(menuItem(*window, "mnuModeICQ").isChecked());
    EXPECT_FALSE(menuItem(*window, "mnuModeEmail").isChecked());
    EXPECT_FALSE(menuItem(*window, "mnuModeFile").isChecked());
    EXPECT_TRUE(control<QAbstractButton>(*window, "Option1").isChecked());
    EXPECT_FALSE(control<QAbstractButton>(*window, "Option2").isChecked());
    EXPECT_FALSE(control<QAbstractButton>(*window, "Option3").isChecked());
    EXPECT_EQ(window->currentMode(), kNoMode);
}

TEST(InitialState, TextBoxes) {
    const auto window = loadWindow();
    const auto& key = control<QLineEdit>(*window, "Text1");
    EXPECT_TRUE(key.text().isEmpty());
    EXPECT_TRUE(key.isReadOnly());
    EXPECT_TRUE(key.isEnabled());

    EXPECT_TRUE(control<QLineEdit>(*window, "Text2").text().isEmpty());
    EXPECT_EQ(window->textFileNameBackground(), platform::kMenuBackground);

    const MessageArea& message = messageArea(*window);
    EXPECT_TRUE(message.isEmpty());
    EXPECT_EQ(message.limit(), 0u);
}

TEST(InitialState, NoIcqLimitAtStart) {
    const auto window = loadWindow();
    MessageArea& message = messageArea(*window);
    const std::string long_text(600, 'a');
    message.setText(long_text);
    EXPECT_EQ(message.text(), long_text);
}

} // namespace
} // namespace tarvex::window::test
