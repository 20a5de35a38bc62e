// SPDX-License-Identifier: GPL-3.0-or-later

#include "text/text_lines.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvex::text::test {
namespace {

TEST(JoinLines, LinesEndAtCarriageReturnOrCarriageReturnLineFeed) {
    struct Case {
        std::string bytes;
        std::string joined;
    };
    const std::vector<Case> cases = {
        {"abc\r\ndef\r\n", "abcdef"},
        {"abc\r\ndef", "abcdef"},       // the last line needs no line end
        {"abc\rdef\r", "abcdef"},       // a lone CR ends a line too
        {"abc\ndef\n", "abc\ndef\n"},   // a lone LF is a character
        {"a\r\r\nb\n\rc", "ab\nc"},
        {"\r\n\r\n", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tarvex::test::codesOf(joinLines(c.bytes)), tarvex::test::codesOf(c.joined)) << tarvex::test::codesOf(c.bytes).size();
    }
}

} // namespace
} // namespace tarvex::text::test
