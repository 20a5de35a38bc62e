#include "window_test_support.h"

#include "../cipher/test_support.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

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
    std::string message() const { return messageArea(*window).text(); }
    void click(const char* button) { control<QAbstractButton>(*window, button).click(); }
    void choose(const char* item) { menuItem(*window, item).trigger(); }
};

TEST_F(ExchangeCommands, SavedCipherTextLoadsBackInFileMode) {
    enterMode(*window, kFileMode);
    std::string cipher = "\xF0";
    for (int c = 128; c <= 255; ++c) cipher.push_back(static_cast<char>(c));
    messageArea(*window).setText(cipher);
    ASSERT_TRUE(isEnabled(*window, "mnuFileSave"));

    window->commonDialog().setNextFileName(pathOf("cipher.txt"));
    choose("mnuFileSave");
    EXPECT_EQ(tarvex::test::readBytes(dir.file("cipher.txt")), cipher + "\r\n");
    EXPECT_EQ(fileNameBox(), pathOf("cipher.txt"));

    click("Command10");
    EXPECT_EQ(message(), "");
    EXPECT_FALSE(isEnabled(*window, "Command6")) << "nothing left to save";

    setKey(*window, pathOf("any.tvk"));
    window->commonDialog().setNextFileName(pathOf("cipher.txt"));
    click("Command7");
    EXPECT_EQ(tarvex::test::codesOf(message()), tarvex::test::codesOf(cipher));
    EXPECT_TRUE(isEnabled(*window, "Command8")) << "a loaded cipher text offers Decrypt";
}

TEST_F(ExchangeCommands, LoadJoinsLinesAndIsCutInIcqMode) {
    tarvex::test::writeBytes(dir.file("lines.txt"), "abc\r\ndef\r\n");
    enterMode(*window, kFileMode);
    window->commonDialog().setNextFileName(pathOf("lines.txt"));
    click("Command7");
    EXPECT_EQ(message(), "abcdef");

    // Command7 stays usable outside File mode once a key was created.
    tarvex::test::writeBytes(dir.file("long.txt"), std::string(600, 'x'));
    enterMode(*window, kIcqMode);
    window->commonDialog().setNextFileName(pathOf("k.tvk"));
    click("Command5");
    ASSERT_TRUE(isEnabled(*window, "Command7"));
    window->commonDialog().setNextFileName(pathOf("long.txt"));
    click("Command7");
    EXPECT_EQ(message().size(), 450u);
}

TEST_F(ExchangeCommands, FailedLoadAndSaveChangeNothing) {
    enterMode(*window, kFileMode);
    messageArea(*window).setText("precious");
    control<QLineEdit>(*window, "Text2").setText(QStringLiteral("before"));

    window->commonDialog().setNextFileName(pathOf("missing.txt"));
    window->messageBox().setNextAnswer(Answer::Ok);
    click("Command7");
    window->commonDialog().setNextFileName(pathOf("no/folder/out.txt"));
    window->messageBox().setNextAnswer(Answer::Ok);
    click("Command6");

    EXPECT_EQ(message(), "precious");
    EXPECT_EQ(fileNameBox(), QStringLiteral("before"));
    EXPECT_EQ(window->messageBox().shown().size(), 2u);
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

    messageArea(*window).setText("two\r\nlines");
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
    ASSERT_EQ(window->messageBox().shown().size(), 2u);
    EXPECT_EQ(window->messageBox().shown()[1].text, QStringLiteral("Do You Really Want To Clear The Clipboard?"));
}

TEST_F(ExchangeCommands, PastedTextKeepsLineBreaksAndIsCutToTheLimit) {
    clipboard->setText(QStringLiteral("line one\nline two"));
    click("Command2");
    EXPECT_EQ(message(), "line one\r\nline two");

    window = loadWindow();
    enterMode(*window, kIcqMode);
    clipboard->setText(QString(600, QLatin1Char('z')));
    choose("mnuEditPaste");
    EXPECT_EQ(message().size(), 450u);
}

} // namespace
} // namespace tarvex::window::test
