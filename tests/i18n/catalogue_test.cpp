// SPDX-License-Identifier: GPL-3.0-or-later

#include "i18n/catalogue.h"
#include "i18n/translate.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tarvex::i18n::test {
namespace {

// The session as a desktop sets it up, then the program takes up its language.
// Each test runs in a process of its own.
void startSession(const char* localeName, const char* languageList) {
    ::setenv("LC_ALL", localeName, 1);
    if (languageList != nullptr) {
        ::setenv("LANGUAGE", languageList, 1);
    } else {
        ::unsetenv("LANGUAGE");
    }
    speakSessionLanguage();
}

// This test program sits in tests/i18n of the build folder; the catalogues the
// build compiled are found the way the programs find them.
TEST(Catalogue, AGermanSessionReadsTheGermanCatalogue) {
    startSession("de_DE.UTF-8", nullptr);
    EXPECT_EQ(catalogueLanguage(), "de");
    const std::string exitItem = text("menu", "E&xit");
    EXPECT_NE(exitItem, "E&xit");
    // The context is part of what is looked up: without it there is no such text.
    EXPECT_EQ(text("E&xit"), "E&xit");
    EXPECT_EQ(text("main window", "E&xit"), "E&xit");
    // Unknown texts come back as they are; the empty text is no header.
    EXPECT_EQ(text("No such text in any catalogue"), "No such text in any catalogue");
    EXPECT_EQ(text(""), "");
    EXPECT_EQ(plural("{n} character", "{n} characters", 1), "{n} character");
    EXPECT_EQ(plural("{n} character", "{n} characters", 2), "{n} characters");
}

TEST(Catalogue, LanguageChoosesAmongTheCataloguesExceptInTheCLocale) {
    // As in every gettext program: LANGUAGE goes first, and its first language
    // with a catalogue wins...
    startSession("en_US.UTF-8", "xx:de:fr");
    EXPECT_EQ(catalogueLanguage(), "de");
    // ...but the plain C locale stays English whatever LANGUAGE says.
    startSession("C", "de");
    EXPECT_EQ(catalogueLanguage(), "");
    EXPECT_EQ(text("menu", "E&xit"), "E&xit");
    // An English session reads the English itself.
    startSession("en_GB.UTF-8", nullptr);
    EXPECT_EQ(catalogueLanguage(), "");
    EXPECT_EQ(text("menu", "E&xit"), "E&xit");
}

TEST(Catalogue, FoundBesideAnInstalledProgramElseUnderThePrefix) {
    const tarvex::test::TempDir root;
    const std::filesystem::path prefix(root.path());
    std::filesystem::create_directories(prefix / "bin");
    // Nothing beside the program: the install prefix's folder.
    EXPECT_EQ(catalogueFolderFor((prefix / "bin").string()), std::string(catalogueFolderFor("")));
    std::filesystem::create_directories(prefix / "share/locale");
    EXPECT_EQ(catalogueFolderFor((prefix / "bin").string()), (prefix / "share/locale").string());
    // A program one folder deeper, as the build folder holds them.
    std::filesystem::create_directories(prefix / "src/cli");
    EXPECT_EQ(catalogueFolderFor((prefix / "src/cli").string()), (prefix / "share/locale").string());
}

TEST(Catalogue, LanguageFoldersGoFromTheParticularToTheLanguage) {
    EXPECT_EQ(languageFolders("pt_BR.UTF-8@latin"), (std::vector<std::string>{"pt_BR", "pt"}));
    EXPECT_EQ(languageFolders("de"), (std::vector<std::string>{"de"}));
    EXPECT_TRUE(languageFolders("").empty());
}

} // namespace
} // namespace tarvex::i18n::test
