// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include "platform/system_colour.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace tarvex::window::test {
namespace {

TEST(SystemColour, MapsOntoMatchingPaletteRoles) {
    using platform::paletteRoleFor;
    EXPECT_EQ(paletteRoleFor(platform::kMenuBackground), QPalette::Window);
    EXPECT_EQ(paletteRoleFor(platform::kHighlightedText), QPalette::HighlightedText);
    EXPECT_EQ(paletteRoleFor(platform::kButtonFace), QPalette::Button);
    EXPECT_EQ(paletteRoleFor(0x00FFFFFFu), std::nullopt) << "plain RGB";
    EXPECT_EQ(paletteRoleFor(0x80000104u), std::nullopt) << "not a system colour index";
    EXPECT_EQ(platform::resolveColour(0x000000FFu, QPalette()), QColor(255, 0, 0)) << "0x00BBGGRR";
}

// Distinct colours, so that each role can be told from the others.
class FileNameBackground : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = QApplication::palette();
        QPalette palette = saved_;
        palette.setColor(QPalette::Window, QColor(0x11, 0x22, 0x33));
        palette.setColor(QPalette::Button, QColor(0x44, 0x55, 0x66));
        palette.setColor(QPalette::Base, QColor(0x77, 0x88, 0x99));
        palette.setColor(QPalette::Text, QColor(0x01, 0x02, 0x03));
        palette.setColor(QPalette::WindowText, QColor(0x04, 0x05, 0x06));
        QApplication::setPalette(palette);
    }
    void TearDown() override { QApplication::setPalette(saved_); }

    static QColor baseOf(const Tarvex& window) {
        return control<QLineEdit>(window, "Text2").palette().color(QPalette::Base);
    }
    static QColor textOf(const Tarvex& window) {
        return control<QLineEdit>(window, "Text2").palette().color(QPalette::Text);
    }

    QPalette saved_;
};

TEST_F(FileNameBackground, FollowsTheModeThroughThePalette) {
    const auto window = loadWindow();
    EXPECT_EQ(baseOf(*window), QColor(0x11, 0x22, 0x33)) << "menu background at start";
    clickModeOption(*window, kFileMode);
    // Highlighted text, white in the standard scheme, paints the entry field's Base.
    EXPECT_EQ(baseOf(*window), QColor(0x77, 0x88, 0x99)) << "the entry field's colour in File mode";
    EXPECT_EQ(textOf(*window), QColor(0x01, 0x02, 0x03)) << "with the text colour that goes with it";
    chooseModeItem(*window, kEmailMode);
    EXPECT_EQ(baseOf(*window), QColor(0x44, 0x55, 0x66)) << "button face in E-Mail mode";
    EXPECT_EQ(textOf(*window), QColor(0x04, 0x05, 0x06)) << "with the window's text colour";
}

TEST_F(FileNameBackground, FollowsAChangeOfThePalette) {
    const auto window = loadWindow();
    clickModeOption(*window, kFileMode);
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Base, QColor(0xAA, 0xBB, 0xCC));
    QApplication::setPalette(palette);
    // Qt delivers the change through the event loop.
    EXPECT_TRUE(QTest::qWaitFor([&] { return baseOf(*window) == QColor(0xAA, 0xBB, 0xCC); }, 2000));
}

} // namespace
} // namespace tarvex::window::test
