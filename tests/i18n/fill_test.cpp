// SPDX-License-Identifier: GPL-3.0-or-later

#include "i18n/fill.h"

#include <gtest/gtest.h>

namespace tarvex::i18n::test {
namespace {

TEST(Fill, PutsEachValueWhereTheTextNamesIt) {
    // A translation may name the places in another order, or one twice.
    EXPECT_EQ(fill("{count} Zeichen in „{path}“, {count} zu viel", {{"path", "a.txt"}, {"count", "7"}}),
              "7 Zeichen in „a.txt“, 7 zu viel");
    // A value is put in as it is, never read for places of its own.
    EXPECT_EQ(fill("Cannot open {path}.", {{"path", "{path}{x}"}}), "Cannot open {path}{x}.");
    // Braces that name no value, or are never closed, stay as written.
    EXPECT_EQ(fill("{unknown} {} {path", {{"path", "p"}}), "{unknown} {} {path");
    EXPECT_EQ(fill("", {{"path", "p"}}), "");
}

} // namespace
} // namespace tarvex::i18n::test
