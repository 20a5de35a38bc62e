// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/line_breaks.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvex::text::test {
namespace {

// Long enough for every block path, with the breaks at the ends of the text
// and of its blocks.
std::string padded(const std::string& breaks) {
    return breaks + std::string(70, 'x') + breaks + "y" + breaks;
}

TEST(LineBreaks, WholeTextsFollowTheOneRule) {
    struct Case {
        std::string text;
        std::string crLf;      // coming in from another program
        std::string lineFeeds; // going out of a message
    };
    const Case cases[] = {
        {"\r\n", "\r\n", "\n"},
        {"\n", "\r\n", "\n"},
        {"\r", "\r\n", "\r"},
        {"\r\r\n\n", "\r\n\r\n\r\n", "\r\n\n"},
        {"\n\r", "\r\n\r\n", "\n\r"},
    };
    for (const Case& c : cases) {
        const std::string text = padded(c.text);
        EXPECT_EQ(crLfFromLineBreaks(text), padded(c.crLf)) << text;
        const std::u16string units(text.begin(), text.end());
        const std::string crLf = padded(c.crLf);
        std::u16string unified(crLfSizeFromLineBreaks(units), u'\0');
        writeCrLfFromLineBreaks(units, unified.data());
        EXPECT_EQ(unified, std::u16string(crLf.begin(), crLf.end())) << text;
        EXPECT_EQ(lineFeedsFromCrLf(text), padded(c.lineFeeds)) << text;
    }
    EXPECT_EQ(crLfFromLineBreaks(std::string_view()), "");
    EXPECT_EQ(lineFeedsFromCrLf(""), "");
}

} // namespace
} // namespace tarvex::text::test
