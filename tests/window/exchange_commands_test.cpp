// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include "text/charset.h"

#include "../support/test_support.h"
#include "../cli/process_runner.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/mount.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tarvex::window::test {
namespace {

using tarvex::test::TempDir;
using Answer = platform::MessageBox::Answer;

class ExchangeCommands : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<Tarvex> window = loadWindow();
    QClipboard* clipboard = QGuiApplication::clipboard();

    QString pathOf(const std::string& name) const { return QString::fromStdString(dir.file(name)); }
    QString fileNameBox() const { return control<QLineEdit>(*window, "Text2").text(); }
    // The message as Windows-1252 codes, which every classic cipher text is.
    std::string message() const {
        const secret::String text = messageArea(*window).text();
        const Result<secret::String> codes = text::charset::fromUtf8(text);
        return std::string(codes ? *codes : text);
    }
    void setMessage(const std::string& codes) { messageArea(*window).setText(text::charset::toUtf8(codes)); }
    void click(const char* button) { control<QAbstractButton>(*window, button).click(); }
    void choose(const char* item) { menuItem(*window, item).trigger(); }
};

TEST_F(ExchangeCommands, SavedCipherTextLoadsBackInFileMode) {
    enterMode(*window, kFileMode);
    std::string cipher = "\xF0";
    for (int c = 128; c <= 255; ++c) cipher.push_back(static_cast<char>(c));
    setMessage(cipher);
    ASSERT_TRUE(isEnabled(*window, "mnuFileSave"));

    window->fileDialog().setNextFileName(pathOf("cipher.txt"));
    choose("mnuFileSave");
    EXPECT_EQ(tarvex::test::readBytes(dir.file("cipher.txt")), cipher + "\r\n");
    EXPECT_EQ(fileNameBox(), pathOf("cipher.txt"));

    click("Command10");
    EXPECT_EQ(message(), "");
    EXPECT_FALSE(isEnabled(*window, "Command6")) << "nothing left to save";

    setKey(*window, pathOf("any.tvk"));
    window->fileDialog().setNextFileName(pathOf("cipher.txt"));
    click("Command7");
    EXPECT_EQ(tarvex::test::codesOf(message()), tarvex::test::codesOf(cipher));
    EXPECT_TRUE(isEnabled(*window, "Command8")) << "a loaded cipher text offers Decrypt";
}

TEST_F(ExchangeCommands, LoadJoinsLinesAndInIcqModeTakesOnlyWhatFits) {
    tarvex::test::writeBytes(dir.file("lines.txt"), "abc\r\ndef\r\n");
    enterMode(*window, kFileMode);
    window->fileDialog().setNextFileName(pathOf("lines.txt"));
    click("Command7");
    EXPECT_EQ(message(), "abcdef");

    // Command7 stays usable outside File mode once a key was created.
    tarvex::test::writeBytes(dir.file("long.txt"), std::string(451, 'x') + "\r\n");
    enterMode(*window, kIcqMode);
    window->fileDialog().setNextFileName(pathOf("k.tvk"));
    click("Command5");
    ASSERT_TRUE(isEnabled(*window, "Command7"));
    click("Command10");
    window->fileDialog().setNextFileName(pathOf("long.txt"));
    window->messageBox().setNextAnswer(Answer::Ok);
    click("Command7");
    EXPECT_EQ(message(), "");
    EXPECT_EQ(fileNameBox(), QString());
    ASSERT_EQ(shownBoxes(*window).size(), 1u);
    EXPECT_TRUE(shownBoxes(*window)[0].text.contains(QStringLiteral("E-Mail")));

    tarvex::test::writeBytes(dir.file("long.txt"), std::string(450, 'x') + "\r\n");
    window->fileDialog().setNextFileName(pathOf("long.txt"));
    click("Command7");
    EXPECT_EQ(message(), std::string(450, 'x'));
}

TEST_F(ExchangeCommands, FailedLoadAndSaveChangeNothing) {
    enterMode(*window, kFileMode);
    setMessage("precious");
    control<QLineEdit>(*window, "Text2").setText(QStringLiteral("before"));

    window->fileDialog().setNextFileName(pathOf("missing.txt"));
    window->messageBox().setNextAnswer(Answer::Ok);
    click("Command7");
    window->fileDialog().setNextFileName(pathOf("no/folder/out.txt"));
    window->messageBox().setNextAnswer(Answer::Ok);
    click("Command6");

    EXPECT_EQ(message(), "precious");
    EXPECT_EQ(fileNameBox(), QStringLiteral("before"));
    EXPECT_EQ(shownBoxes(*window).size(), 2u);
}

TEST_F(ExchangeCommands, CopyPasteAndClearWithTheStatesThatFollow) {
    clipboard->setText(QStringLiteral("from elsewhere"));
    EXPECT_TRUE(isEnabled(*window, "Command2"));
    EXPECT_FALSE(isEnabled(*window, "Command1"));

    click("Command2");
    EXPECT_EQ(message(), "from elsewhere");
    EXPECT_FALSE(isEnabled(*window, "Command2"));
    EXPECT_FALSE(isEnabled(*window, "mnuEditPaste"));
    EXPECT_TRUE(isEnabled(*window, "Command1"));
    EXPECT_TRUE(isEnabled(*window, "mnuEditClear"));

    setMessage("two\r\nlines");
    choose("mnuEditCopy");
    EXPECT_EQ(clipboard->text(), QStringLiteral("two\r\nlines"));

    choose("mnuEditClear");
    EXPECT_EQ(message(), "");
    EXPECT_TRUE(isEnabled(*window, "Command2"));
    EXPECT_FALSE(isEnabled(*window, "Command10"));
    EXPECT_EQ(clipboard->text(), QStringLiteral("two\r\nlines"));

    window->messageBox().setNextAnswer(Answer::No);
    click("Command3");
    EXPECT_EQ(clipboard->text(), QStringLiteral("two\r\nlines"));
    window->messageBox().setNextAnswer(Answer::Yes);
    choose("mnuEditClip");
    EXPECT_EQ(clipboard->text(), QString());
    ASSERT_EQ(shownBoxes(*window).size(), 2u);
    EXPECT_EQ(shownBoxes(*window)[1].text, QStringLiteral("Do You Really Want To Clear The Clipboard?"));
}

TEST_F(ExchangeCommands, PasteInIcqModeTakesTheWholeTextOrNothingAndSaysWhy) {
    clipboard->setText(QStringLiteral("line one\nline two"));
    click("Command2");
    EXPECT_EQ(message(), "line one\r\nline two");

    window = showWindow();
    enterMode(*window, kIcqMode);
    MessageArea& area = messageArea(*window);
    area.setFocus();
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, nullptr);
    const std::vector<std::pair<const char*, std::function<void()>>> pastes = {
        {"Paste button", [this] { click("Command2"); }},
        {"Edit menu", [this] { choose("mnuEditPaste"); }},
        {"Ctrl+V in the text area", [editor] { QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier); }},
    };
    // 449 letters and a line break: 451 characters, one too many.
    clipboard->setText(QString(449, QLatin1Char('z')) + QLatin1Char('\n'));
    for (const auto& [how, paste] : pastes) {
        SCOPED_TRACE(how);
        const std::size_t before = shownBoxes(*window).size();
        window->messageBox().setNextAnswer(Answer::Ok);
        paste();
        EXPECT_EQ(message(), "");
        ASSERT_EQ(shownBoxes(*window).size(), before + 1);
        const QString& why = shownBoxes(*window).back().text;
        EXPECT_TRUE(why.contains(QStringLiteral("clipboard is 451 characters long"))) << why.toStdString();
        EXPECT_TRUE(why.contains(QStringLiteral("E-Mail mode has no limit"))) << why.toStdString();
    }
    clipboard->setText(QString(448, QLatin1Char('z')) + QLatin1Char('\n'));
    for (const auto& [how, paste] : pastes) {
        SCOPED_TRACE(how);
        click("Command10");
        paste();
        EXPECT_EQ(message(), std::string(448, 'z') + "\r\n");
    }
    EXPECT_EQ(shownBoxes(*window).size(), 3u);
}

// Set in the copy of this test program that runs under its own mount namespace.
constexpr const char* kFullTmpfsVariable = "TARVEX_FULL_TMPFS";

// Writes until the file system has no room left.
void fillUp(const std::string& path) {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    const std::string chunk(4096, 'f');
    while (::write(fd, chunk.data(), chunk.size()) > 0) {
    }
    EXPECT_EQ(errno, ENOSPC);
    ::close(fd);
}

TEST_F(ExchangeCommands, OnAFullDiskSaveAndCreateKeySayWhyAndKeepTheOldFiles) {
    const char* mountPoint = std::getenv(kFullTmpfsVariable);
    if (mountPoint == nullptr) {
        // A real full file system: a small tmpfs, mounted where only a copy of
        // this test, in a mount namespace of its own, sees it.
        if (::geteuid() != 0 || ::access("/usr/bin/unshare", X_OK) != 0) {
            GTEST_SKIP() << "mounting a private tmpfs needs root and unshare";
        }
        const std::string self = std::filesystem::read_symlink("/proc/self/exe");
        const std::string name = std::string("--gtest_filter=ExchangeCommands.") +
                                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ::setenv(kFullTmpfsVariable, dir.path().c_str(), 1);
        const tarvex::test::ProcessResult run =
            tarvex::test::runProcess("/usr/bin/unshare", {"--mount", "--propagation", "private", self, name});
        ::unsetenv(kFullTmpfsVariable);
        EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
        EXPECT_NE(run.out.find("[  PASSED  ] 1 test"), std::string::npos) << run.out;
        return;
    }
    ASSERT_EQ(::mount("tmpfs", mountPoint, "tmpfs", 0, "size=64k"), 0) << std::strerror(errno);
    const std::string folder = mountPoint;
    const std::string key = "0A1B\r\n";
    const std::string letter = "an earlier letter\r\n";
    tarvex::test::writeBytes(folder + "/shared.tvk", key);
    tarvex::test::writeBytes(folder + "/letter.txt", letter);
    fillUp(folder + "/filler");
    const QString at = QString::fromStdString(folder);

    enterMode(*window, kFileMode);
    setMessage("a new letter");
    window->fileDialog().setNextFileName(at + QStringLiteral("/new.txt"));
    window->messageBox().setNextAnswer(Answer::Ok);
    click("Command6");
    window->fileDialog().setNextFileName(at + QStringLiteral("/letter.txt"));
    window->messageBox().setNextAnswers({Answer::Yes, Answer::Ok});
    click("Command6");
    window->fileDialog().setNextFileName(at + QStringLiteral("/shared.tvk"));
    window->messageBox().setNextAnswers({Answer::Yes, Answer::Ok});
    click("Command5");

    const auto& shown = shownBoxes(*window);
    ASSERT_EQ(shown.size(), 5u);
    for (std::size_t failure : {0u, 2u, 4u}) {
        EXPECT_TRUE(shown[failure].text.contains(QStringLiteral("No space left on device")))
            << shown[failure].text.toStdString();
    }
    EXPECT_EQ(tarvex::test::readBytes(folder + "/letter.txt"), letter);
    EXPECT_EQ(tarvex::test::readBytes(folder + "/shared.tvk"), key);
    EXPECT_EQ(control<QLineEdit>(*window, "Text1").text(), QString()) << "an unwritten key is not chosen";
    EXPECT_EQ(fileNameBox(), QString());
    EXPECT_EQ(message(), "a new letter");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) left.push_back(entry.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"filler", "letter.txt", "shared.tvk"})) << "no temporary file is left";
}

} // namespace
} // namespace tarvex::window::test
