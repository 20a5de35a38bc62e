// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/file_dialog.h"

#include "../support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace tarvex::platform::test {
namespace {

using tarvex::test::TempDir;

// Acts on the real dialog once it is up, as a user would.
void whenDialogShows(std::function<void(QFileDialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

void typeNameAndAccept(QFileDialog& dialog, const QString& name) {
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setText(name);
    QMetaObject::invokeMethod(&dialog, "accept"); // as pressing the default button does
}

class RealFileDialog : public ::testing::Test {
protected:
    TempDir dir;
    FileDialog dialog;
    QString folder = QString::fromStdString(dir.path());

    void SetUp() override {
        platform::FileDialogSettings& settings = dialog.settings();
        settings.title = "Text Tarvex - Create Key Dialog";
        settings.defaultExt = "tvk";
        settings.initDir = dir.path();
        settings.filter = "Tarvex Key Files(*.tvk)|*tvk";
        settings.filterIndex = 1;
    }
};

TEST_F(RealFileDialog, AppliesTitleFolderAndFilter) {
    QString title;
    QString shownFolder;
    QStringList filters;
    whenDialogShows([&](QFileDialog& shown) {
        title = shown.windowTitle();
        shownFolder = shown.directory().absolutePath();
        filters = shown.nameFilters();
        shown.reject();
    });
    EXPECT_EQ(dialog.show(FileDialog::Kind::Save, nullptr), QString()) << "a cancel gives the empty name";
    EXPECT_EQ(title, QStringLiteral("Text Tarvex - Create Key Dialog"));
    EXPECT_EQ(shownFolder, QDir(folder).absolutePath());
    EXPECT_EQ(filters, QStringList{QStringLiteral("Tarvex Key Files(*.tvk) (*tvk)")});
}

TEST_F(RealFileDialog, SaveAppendsTheDefaultExtensionAndAsksNothingBeforeReplacing) {
    whenDialogShows([](QFileDialog& shown) { typeNameAndAccept(shown, QStringLiteral("notes")); });
    EXPECT_EQ(dialog.show(FileDialog::Kind::Save, nullptr), folder + QStringLiteral("/notes.tvk"));

    tarvex::test::writeBytes(dir.file("old.tvk"), "x");
    whenDialogShows([](QFileDialog& shown) { typeNameAndAccept(shown, QStringLiteral("old.tvk")); });
    EXPECT_EQ(dialog.show(FileDialog::Kind::Save, nullptr), folder + QStringLiteral("/old.tvk"));
}

TEST_F(RealFileDialog, OpenAcceptsATypedNameOfAMissingFile) {
    whenDialogShows([](QFileDialog& shown) { typeNameAndAccept(shown, QStringLiteral("received.tvk")); });
    EXPECT_EQ(dialog.show(FileDialog::Kind::Open, nullptr), folder + QStringLiteral("/received.tvk"));
}

TEST_F(RealFileDialog, MissingInitialFolderFallsBackToTheDialogsOwn) {
    dialog.settings().initDir = "C:\\Program Files\\DevStudio\\VB\\Tarvex\\Keys\\";
    QString shownFolder;
    whenDialogShows([&](QFileDialog& shown) {
        shownFolder = shown.directory().absolutePath();
        shown.reject();
    });
    dialog.show(FileDialog::Kind::Save, nullptr);
    EXPECT_TRUE(QDir(shownFolder).exists()) << shownFolder.toStdString();
}

TEST(FileDialogFilters, PatternsWithoutADotMatchEveryNameEndingInThem) {
    QStringList filters = FileDialog::nameFilters("Text Files(*.txt)|*txt|Ascii Files(*.asc)|*asc");
    EXPECT_EQ(filters, (QStringList{QStringLiteral("Text Files(*.txt) (*txt)"),
                                    QStringLiteral("Ascii Files(*.asc) (*asc)")}));
    EXPECT_TRUE(QDir::match(QStringLiteral("*txt"), QStringLiteral("readme.txt")));
    EXPECT_TRUE(QDir::match(QStringLiteral("*txt"), QStringLiteral("mytxt")));
}

} // namespace
} // namespace tarvex::platform::test
