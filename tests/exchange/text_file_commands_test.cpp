// SPDX-License-Identifier: GPL-3.0-or-later

#include "exchange/text_file_commands.h"

#include "fake_exchange_host.h"

#include "../support/test_support.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvex::exchange::test {
namespace {

using tarvex::test::TempDir;

class TextFiles : public ::testing::Test {
protected:
    TempDir dir;
    FakeExchangeHost host;

    QString pathOf(const std::string& name) const { return QString::fromStdString(dir.file(name)); }

    // Loads a file holding `bytes` and returns the message it gives.
    std::string loadBytes(const std::string& bytes) {
        tarvex::test::writeBytes(dir.file("in.txt"), bytes);
        host.dialog.setNextFileName(pathOf("in.txt"));
        loadTextFile(host);
        return host.message;
    }

    std::string saveMessage(const std::string& message, const std::string& name = "out.txt") {
        host.message = message;
        host.dialog.setNextFileName(pathOf(name));
        saveTextFile(host);
        return tarvex::test::readBytes(dir.file(name));
    }
};

TEST_F(TextFiles, LoadJoinsTheLinesAndShowsThePath) {
    EXPECT_EQ(loadBytes("abc\r\ndef\r\n"), "abcdef");
    EXPECT_EQ(host.textFileName, pathOf("in.txt"));
    EXPECT_EQ(loadBytes("x\ny"), "x\ny");
    EXPECT_EQ(loadBytes(""), "");
    EXPECT_EQ(host.textFileName, pathOf("in.txt"));
    EXPECT_TRUE(host.box.shown().empty());
}

TEST_F(TextFiles, LoadPastTheModesLimitIsRefusedWhole) {
    host.limit = 450;
    host.message = "kept";
    host.box.setNextAnswer(platform::MessageBox::Answer::Ok);
    EXPECT_EQ(loadBytes(std::string(451, 'q') + "\r\n"), "kept");
    EXPECT_EQ(host.textFileName, "(unchanged)");
    ASSERT_EQ(host.box.shown().size(), 1u);
    const QString& why = host.box.shown()[0].text;
    EXPECT_TRUE(why.contains(QStringLiteral("451 characters, 1 more than the 450"))) << why.toStdString();

    EXPECT_EQ(loadBytes(std::string(450, 'q') + "\r\n"), std::string(450, 'q')) << "the line end is not text";
}

TEST_F(TextFiles, WhatTheLargestTextSavesLoadsBackAndOneMoreIsRefused) {
    std::string largest(exchange::kMaxMessageLength, 'w');
    largest[exchange::kMaxMessageLength / 2] = '\n';
    saveMessage(largest, "largest.txt");
    host.message.clear();
    host.dialog.setNextFileName(pathOf("largest.txt"));
    loadTextFile(host);
    EXPECT_TRUE(host.message == largest) << "the largest text came back as " << host.message.size() << " codes";
    EXPECT_TRUE(host.box.shown().empty());

    // The same size on disk, but a text one code longer: without the line end.
    tarvex::test::writeBytes(dir.file("larger.txt"), largest + "w\n");
    host.message = "kept";
    host.dialog.setNextFileName(pathOf("larger.txt"));
    host.box.setNextAnswer(platform::MessageBox::Answer::Ok);
    loadTextFile(host);
    EXPECT_EQ(host.message, "kept");
    ASSERT_EQ(host.box.shown().size(), 1u);
    EXPECT_TRUE(host.box.shown()[0].text.contains(QStringLiteral("64 MiB"))) << host.box.shown()[0].text.toStdString();
}

TEST_F(TextFiles, SaveWritesTheTextAndOneCarriageReturnLineFeed) {
    EXPECT_EQ(tarvex::test::codesOf(saveMessage("abc")), (std::vector<int>{97, 98, 99, 13, 10}));
    EXPECT_EQ(saveMessage("abc\r\ndef", "two.txt"), "abc\r\ndef\r\n");
    EXPECT_EQ(host.textFileName, pathOf("two.txt"));

    EXPECT_TRUE(host.box.shown().empty()) << "a new file needs no question";
}

TEST_F(TextFiles, SaveOverAFileAsksFirstAndNoKeepsItAndShowsTheDialogAgain) {
    const std::string old(5000, 'z');
    tarvex::test::writeBytes(dir.file("old.txt"), old);
    host.message = "new";
    host.dialog.setNextFileNames({pathOf("old.txt"), {}}); // shown again after the No: cancelled
    host.box.setNextAnswer(platform::MessageBox::Answer::No);
    saveTextFile(host);
    EXPECT_EQ(tarvex::test::readBytes(dir.file("old.txt")), old);
    EXPECT_EQ(host.textFileName, "(unchanged)");
    ASSERT_EQ(host.dialog.shown().size(), 2u);
    EXPECT_EQ(host.dialog.shown()[1].settings.fileName, pathOf("old.txt").toStdString()) << "offered to change";
    ASSERT_EQ(host.box.shown().size(), 1u);
    const auto& question = host.box.shown()[0];
    EXPECT_TRUE(question.text.contains(pathOf("old.txt"))) << question.text.toStdString();
    EXPECT_EQ(question.buttons, platform::MessageBox::Buttons::YesNo);
    EXPECT_EQ(question.defaultAnswer, platform::MessageBox::Answer::No);

    host.dialog.setNextFileName(pathOf("old.txt"));
    host.box.setNextAnswer(platform::MessageBox::Answer::Yes);
    saveTextFile(host);
    EXPECT_EQ(tarvex::test::readBytes(dir.file("old.txt")), "new\r\n");
    EXPECT_EQ(host.textFileName, pathOf("old.txt"));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"old.txt"}) << "no temporary file is left";
}

TEST_F(TextFiles, CipherTextWithEveryHighCodeSurvivesSaveAndLoad) {
    std::string cipher = "\xF0";
    for (int c = 32; c <= 255; ++c) cipher.push_back(static_cast<char>(c));
    cipher = text::charset::toUtf8(cipher);
    saveMessage(cipher);
    host.message.clear();
    host.dialog.setNextFileName(pathOf("out.txt"));
    loadTextFile(host);
    EXPECT_EQ(host.message, cipher);
}

TEST_F(TextFiles, UnicodeFilesLoadAsUtf8AndSavedTextComesBackTheSame) {
    EXPECT_EQ(loadBytes("caf\xC3\xA9\r\n"), "caf\xC3\xA9") << "valid UTF-8 beyond ASCII";
    EXPECT_EQ(loadBytes("\xEF\xBB\xBFplain"), "plain") << "after a byte-order mark";
    EXPECT_EQ(loadBytes("caf\xE9 \x80\r\n"), "caf\xC3\xA9 \xE2\x82\xAC") << "not UTF-8: Windows-1252 as ever";
    EXPECT_EQ(loadBytes("ab\xD0\x96 \xF0\x9F\x98\x80"), "ab\xD0\x96 \xF0\x9F\x98\x80") << "beyond Windows-1252";

    host.message = "kept";
    host.box.setNextAnswer(platform::MessageBox::Answer::Ok);
    EXPECT_EQ(loadBytes("\xEF\xBB\xBF" "ab\xD0"), "kept") << "malformed after a byte-order mark";
    ASSERT_EQ(host.box.shown().size(), 1u);
    const QString& why = host.box.shown()[0].text;
    EXPECT_TRUE(why.contains(QStringLiteral("byte 6"))) << why.toStdString();

    // Texts whose Windows-1252 bytes would read as UTF-8 ("Ã©") must not come
    // back as "é"; a text beyond Windows-1252 is saved as UTF-8.
    int saved = 0;
    for (const std::string text : {"caf\xC3\xA9", "\xC3\x83\xC2\xA9", "x\xD0\x96", "\xC3\xAF\xC2\xBB\xC2\xBF", "\xEF\xBB\xBFx",
                                   "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"}) {
        const std::string name = "saved" + std::to_string(++saved) + ".txt";
        const std::string written = saveMessage(text, name);
        host.message.clear();
        host.dialog.setNextFileName(pathOf(name));
        loadTextFile(host);
        EXPECT_EQ(host.message, text) << "written as " << written;
    }
    EXPECT_EQ(tarvex::test::readBytes(dir.file("saved1.txt")), "caf\xE9\r\n") << "Windows-1252 where it reads back so";
    EXPECT_EQ(tarvex::test::readBytes(dir.file("saved2.txt")), "\xEF\xBB\xBF\xC3\x83\xC2\xA9\r\n");
    EXPECT_EQ(tarvex::test::readBytes(dir.file("saved3.txt")), "x\xD0\x96\r\n") << "UTF-8 where Windows-1252 cannot";
}

TEST_F(TextFiles, DialogSettingsOfLoadAndSave) {
    host.dialog.settings().initDir = "/the/key/folder/";
    host.dialog.settings().fileName = "left over";
    host.dialog.setNextFileName({});
    loadTextFile(host);
    host.message = "text";
    host.dialog.setNextFileName({});
    saveTextFile(host);

    ASSERT_EQ(host.dialog.shown().size(), 2u);
    const auto& load = host.dialog.shown()[0];
    const auto& save = host.dialog.shown()[1];
    EXPECT_EQ(load.kind, platform::FileDialog::Kind::Open);
    EXPECT_EQ(save.kind, platform::FileDialog::Kind::Save);
    EXPECT_EQ(load.settings.title, "Text Tarvex - Load File Dialog");
    EXPECT_EQ(save.settings.title, "Text Tarvex - Save File Dialog");
    for (const auto& shown : host.dialog.shown()) {
        EXPECT_EQ(shown.settings.fileName, "");
        EXPECT_EQ(shown.settings.defaultExt, "txt");
        EXPECT_EQ(shown.settings.filter, "Text Files(*.txt)|*txt|Ascii Files(*.asc)|*asc");
        EXPECT_EQ(shown.settings.filterIndex, 1);
    }
    EXPECT_EQ(load.settings.initDir, "/the/key/folder/") << "Load keeps the folder it was given last";
    EXPECT_EQ(save.settings.initDir, "") << "Save starts in the dialog's own folder";
}

TEST_F(TextFiles, CancelOrNothingToSaveChangesNothing) {
    host.message = "keep";
    host.dialog.setNextFileName({});
    loadTextFile(host);
    host.dialog.setNextFileName({});
    saveTextFile(host);
    EXPECT_EQ(host.message, "keep");
    EXPECT_EQ(host.textFileName, "(unchanged)");

    host.message.clear();
    saveTextFile(host);
    EXPECT_EQ(host.dialog.shown().size(), 2u) << "an empty text shows no dialog";
    EXPECT_TRUE(dir.entries().empty());
}

TEST_F(TextFiles, UnreadableFilesAreReportedAndChangeNothing) {
    // A file past the size limit, made sparse so it costs no disk.
    std::string huge = dir.file("huge.txt");
    int fd = ::open(huge.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, kMaxTextFileSize + 1), 0);
    ::close(fd);

    struct Case {
        QString path;
        QString reason;
    };
    const std::vector<Case> cases = {
        {pathOf("missing.txt"), "No such file or directory"},
        {QString::fromStdString(dir.path()), "folder"},
        {QString::fromStdString(huge), "64 MiB"},
    };
    for (const Case& c : cases) {
        host = {};
        host.message = "precious";
        host.dialog.setNextFileName(c.path);
        host.box.setNextAnswer(platform::MessageBox::Answer::Ok);
        loadTextFile(host);
        EXPECT_EQ(host.message, "precious");
        EXPECT_EQ(host.messageSets, 0);
        EXPECT_EQ(host.textFileName, "(unchanged)");
        ASSERT_EQ(host.box.shown().size(), 1u);
        const auto& shown = host.box.shown()[0];
        EXPECT_EQ(shown.title, "Text Tarvex V1.1");
        EXPECT_TRUE(shown.text.contains(c.path)) << shown.text.toStdString();
        EXPECT_TRUE(shown.text.contains(c.reason)) << shown.text.toStdString();
    }
}

TEST_F(TextFiles, FailedSaveIsReportedAndLeavesEveryFileAsItWas) {
    const std::string full = tarvex::test::fullDevice(dir);
    const std::vector<QString> unwritable = {
        pathOf("no/such/folder/out.txt"),
        QString::fromStdString(dir.path()),
        QStringLiteral("/proc/version"), // an existing file in a folder nobody may write
        QString::fromStdString(full), // a full disk
    };
    const std::string procVersion = tarvex::test::readBytes("/proc/version");
    for (const QString& path : unwritable) {
        host = {};
        host.message = "text";
        host.dialog.setNextFileName(path);
        // An existing file is first asked about: Yes, then the failure.
        const bool replaced = QFileInfo(path).isFile();
        if (replaced) {
            host.box.setNextAnswers({platform::MessageBox::Answer::Yes, platform::MessageBox::Answer::Ok});
        } else {
            host.box.setNextAnswer(platform::MessageBox::Answer::Ok);
        }
        saveTextFile(host);
        EXPECT_EQ(host.textFileName, "(unchanged)") << path.toStdString();
        ASSERT_EQ(host.box.shown().size(), replaced ? 2u : 1u) << path.toStdString();
        EXPECT_TRUE(host.box.shown().back().text.contains(path)) << host.box.shown().back().text.toStdString();
        EXPECT_EQ(host.message, "text");
    }
    EXPECT_EQ(tarvex::test::readBytes("/proc/version"), procVersion);
    EXPECT_TRUE(host.box.shown()[0].text.contains(QStringLiteral("No space left on device")))
        << host.box.shown()[0].text.toStdString();
    EXPECT_TRUE(tarvex::test::isCharacterDevice(full)) << "the device was replaced by a file";
    for (const std::string& entry : dir.entries()) EXPECT_EQ(entry, "full") << "a temporary file was left";
}

} // namespace
} // namespace tarvex::exchange::test
