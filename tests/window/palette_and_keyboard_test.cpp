// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include "../support/test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

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
    window->fileDialog().setNextFileName({});
    press(Qt::Key_Space);
    EXPECT_EQ(focusName(*window), QStringLiteral("Command5")) << "cancelled Create Key";

    window->fileDialog().setNextFileName(pathOf("shared.tvk"));
    press(Qt::Key_Space);
    ASSERT_EQ(control<QLineEdit>(*window, "Text1").text(), pathOf("shared.tvk"));
    EXPECT_EQ(focusName(*window), QStringLiteral("Text3")) << "after Create Key";
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("hi"));
    EXPECT_EQ(messageArea(*window).text(), "hi");

    focus("Command4");
    window->fileDialog().setNextFileName({});
    press(Qt::Key_Space);
    EXPECT_EQ(focusName(*window), QStringLiteral("Command4")) << "cancelled Load Key, a key still set";

    window->fileDialog().setNextFileName(pathOf("shared.tvk"));
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

double luminance(QColor colour) {
    const auto linear = [](float c) { return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

// The colour most pixels of a picture have: a control's face.
QColor faceOf(const QImage& picture) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            ++counts[picture.pixel(x, y)];
        }
    }
    return QColor(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                      return a.second < b.second;
                  })->first);
}

// The luminance difference between a picture's face and its farthest pixel: its text.
double textContrast(const QImage& picture) {
    const double face = luminance(faceOf(picture));
    double most = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            most = std::max(most, std::abs(luminance(QColor(picture.pixel(x, y))) - face));
        }
    }
    return most;
}

QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Button, QColor(0x40, 0x40, 0x40));
    dark.setColor(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    dark.setColor(QPalette::HighlightedText, QColor(0xFF, 0xFF, 0xFF));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return dark;
}

class Palettes : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        saved_ = QApplication::palette();
        if (GetParam()) QApplication::setPalette(darkPalette());
    }
    void TearDown() override { QApplication::setPalette(saved_); }
    QPalette saved_;
};

double distance(QColor a, QColor b) {
    return std::hypot(a.red() - b.red(), a.green() - b.green(), a.blue() - b.blue());
}

TEST_P(Palettes, FileNameBoxStaysReadable) {
    const auto window = showWindow();
    auto& fileName = control<QLineEdit>(*window, "Text2");
    clickModeOption(*window, kFileMode);
    fileName.setText(QStringLiteral("MESSAGE.TXT"));
    const QImage file = fileName.grab().toImage();
    EXPECT_GT(textContrast(file), 0.5) << "text on the entry field of File mode";

    clickModeOption(*window, kEmailMode);
    const QImage email = fileName.grab().toImage();
    if (GetParam()) {
        EXPECT_LT(luminance(faceOf(file)), 0.1) << "a dark palette keeps the entry field dark";
        EXPECT_LT(luminance(faceOf(email)), 0.1) << "and the grey of E-Mail mode";
    }
    EXPECT_GT(distance(faceOf(file), faceOf(email)), 10) << "File mode's field stands out from the grey";
}

TEST_P(Palettes, SelectedModeButtonStandsOut) {
    const auto window = showWindow();
    const auto faceOfOption = [&](const char* name) { return faceOf(control<QWidget>(*window, name).grab().toImage()); };
    clickModeOption(*window, kEmailMode);
    const QColor selected = faceOfOption("Option2");
    const QColor other = faceOfOption("Option1");
    EXPECT_GT(distance(selected, other), 80) << qPrintable(selected.name()) << " " << qPrintable(other.name());
    EXPECT_GT(textContrast(control<QWidget>(*window, "Option2").grab().toImage()), 0.3) << "its caption readable";

    // The mark moves with the selection, also when the mode is chosen by menu.
    chooseModeItem(*window, kFileMode);
    // A focused button may be a shade lighter.
    EXPECT_LT(distance(faceOfOption("Option3"), selected), 10);
    EXPECT_LT(distance(faceOfOption("Option2"), other), 10);
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, Palettes, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& row) { return row.param ? "Dark" : "Light"; });

} // namespace
} // namespace tarvex::window::test
