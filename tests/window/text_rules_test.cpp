// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include "window/window_state.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace tarvex::window::test {
namespace {

enum class TextKind { Empty, Plain, BeginsWithMarker, BeginsWithEquals, EqualsFurtherOn, QuotedSealedToken };

std::string textOf(TextKind kind) {
    switch (kind) {
    case TextKind::Empty: return "";
    case TextKind::Plain: return "Meet me at noon.\r\nBring the map.";
    case TextKind::BeginsWithMarker: return "\xC3\xB0" "Wkkx%rk";
    case TextKind::BeginsWithEquals: return "=2+2";
    case TextKind::EqualsFurtherOn: return "x=";
    case TextKind::QuotedSealedToken: return "> > tarvex1Gh7Ab\r\n> 9xYz";
    }
    return {};
}

bool marked(TextKind kind) {
    return kind == TextKind::BeginsWithMarker || kind == TextKind::BeginsWithEquals ||
           kind == TextKind::QuotedSealedToken;
}

using Combination = std::tuple<TextKind, bool /*key chosen*/, ModeNumber>;

class TextRules : public ::testing::TestWithParam<Combination> {};

// Whatever the order of events, each command ends up enabled exactly as the
// three values say.
TEST_P(TextRules, NetEffectOnEveryCommandPair) {
    const auto [kind, keyChosen, mode] = GetParam();
    const std::string text = textOf(kind);
    const bool hasText = !text.empty();
    const bool encrypt = hasText && keyChosen && !marked(kind);
    const bool decrypt = hasText && keyChosen && marked(kind);
    const bool save = mode == kFileMode && hasText;

    const auto check = [&](const Tarvex& window, const char* when) {
        SCOPED_TRACE(when);
        for (const char* name : {"Command9", "mnuSecEncrypt", "mnuSecSeal"})
            EXPECT_EQ(isEnabled(window, name), encrypt) << name;
        for (const char* name : {"Command8", "mnuSecDecrypt"}) EXPECT_EQ(isEnabled(window, name), decrypt) << name;
        for (const char* name : {"Command1", "mnuEditCopy", "Command10", "mnuEditClear"})
            EXPECT_EQ(isEnabled(window, name), hasText) << name;
        for (const char* name : {"Command2", "mnuEditPaste"}) EXPECT_EQ(isEnabled(window, name), !hasText) << name;
        for (const char* name : {"Command6", "mnuFileSave"}) EXPECT_EQ(isEnabled(window, name), save) << name;
        for (const char* name : {"Command7", "mnuFileLoad"})
            EXPECT_EQ(isEnabled(window, name), mode == kFileMode) << name;
    };

    {
        const auto window = loadWindow();
        enterMode(*window, mode);
        ASSERT_EQ(window->currentMode(), mode);
        // Start from the opposite text so that setting the text is a change.
        messageArea(*window).setText(hasText ? "" : "filler");
        setKey(*window, keyChosen ? "/home/ann/shared.tvk" : "");
        messageArea(*window).setText(text);
        check(*window, "key first, then text");
    }
    {
        const auto window = loadWindow();
        enterMode(*window, mode);
        setKey(*window, keyChosen ? "" : "/home/ann/old.tvk");
        messageArea(*window).setText(text);
        setKey(*window, keyChosen ? "/home/ann/shared.tvk" : "");
        check(*window, "text first, then key");
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryCombination, TextRules,
    ::testing::Combine(::testing::Values(TextKind::Empty, TextKind::Plain, TextKind::BeginsWithMarker,
                                         TextKind::BeginsWithEquals, TextKind::EqualsFurtherOn,
                                         TextKind::QuotedSealedToken),
                       ::testing::Bool(), ::testing::Values(kNoMode, kIcqMode, kEmailMode, kFileMode)));

TEST(MarkedText, TheFirstCharacterOrASealedTokensStartCounts) {
    struct Row {
        std::string text;
        bool marked;
    };
    const Row rows[] = {
        {"", false},
        {"\xC3\xB0", true},
        {"=", true},
        {"==", true},
        {" =", false},
        {"a\xC3\xB0", false},
        {"\xC3\xAF", false},
        {"\xC3\xB1", false},
        {"tarvex1", true},
        {" \t>\xC2\xAD> tarvex1AbC", true},
        {"tarvex2AbC", true}, // a newer version's: Decrypt says so
        {"tarvex", false},
        {"Tarvex1AbC", false},
        {"a tarvex1AbC", false},
        {"<", false},
        {">", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(isMarkedText(row.text), row.marked) << '"' << row.text << '"';
    }
}

TEST(TextRulesByTyping, OneCharacterWithoutKeyOffersCopyAndClear) {
    const auto window = showWindow();
    messageArea(*window).setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q);
    EXPECT_EQ(messageArea(*window).text(), "q");
    EXPECT_TRUE(isEnabled(*window, "Command1"));
    EXPECT_TRUE(isEnabled(*window, "Command10"));
    EXPECT_FALSE(isEnabled(*window, "Command2"));
    EXPECT_FALSE(isEnabled(*window, "Command9"));
    EXPECT_FALSE(isEnabled(*window, "Command8"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_TRUE(messageArea(*window).isEmpty());
    EXPECT_FALSE(isEnabled(*window, "Command1"));
    EXPECT_TRUE(isEnabled(*window, "Command2"));
}

TEST(TextRulesByTyping, FileModeSaveFollowsTheText) {
    const auto window = showWindow();
    clickModeOption(*window, kFileMode);
    EXPECT_TRUE(isEnabled(*window, "Command7"));
    EXPECT_FALSE(isEnabled(*window, "Command6"));
    messageArea(*window).setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    EXPECT_TRUE(isEnabled(*window, "Command6"));
    EXPECT_TRUE(isEnabled(*window, "mnuFileSave"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_FALSE(isEnabled(*window, "Command6"));
    EXPECT_FALSE(isEnabled(*window, "mnuFileSave"));
}

} // namespace
} // namespace tarvex::window::test
