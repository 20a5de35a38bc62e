// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include "text/charset.h"

#include "../support/test_support.h"
#include "../cli/process_runner.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

namespace tarvex::window::test {
namespace {

using tarvex::test::TempDir;
using Answer = platform::MessageBox::Answer;

class KeyAndCipherCommands : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<Tarvex> window = loadWindow();

    QString pathOf(const std::string& name) const { return QString::fromStdString(dir.file(name)); }
    QString keyBox() const { return control<QLineEdit>(*window, "Text1").text(); }
    // The message as Windows-1252 codes, which every classic cipher text is.
    std::string message() const {
        const secret::String text = messageArea(*window).text();
        const Result<secret::String> codes = text::charset::fromUtf8(text);
        return std::string(codes ? *codes : text);
    }
    void setMessage(const std::string& codes) { messageArea(*window).setText(text::charset::toUtf8(codes)); }
    void click(const char* button) { control<QAbstractButton>(*window, button).click(); }

    void createKey(const std::string& name) {
        window->fileDialog().setNextFileName(pathOf(name));
        click("Command5");
    }
};

TEST_F(KeyAndCipherCommands, RoadOfOneMessage) {
    window = showWindow();
    enterMode(*window, kEmailMode);
    createKey("shared.tvk");
    EXPECT_EQ(keyBox(), pathOf("shared.tvk"));
    EXPECT_EQ(tarvex::test::permissionBits(dir.file("shared.tvk")), 0600u);

    messageArea(*window).setFocus();
    QWidget* typing = QApplication::focusWidget();
    ASSERT_NE(typing, nullptr);
    QTest::keyClicks(typing, QStringLiteral("Meet at noon,"));
    QTest::keyClick(typing, Qt::Key_Return);
    QTest::keyClicks(typing, QStringLiteral("by the old mill."));
    const std::string typed = message();
    ASSERT_EQ(typed, "Meet at noon,\r\nby the old mill.");
    EXPECT_TRUE(isEnabled(*window, "Command9"));
    EXPECT_FALSE(isEnabled(*window, "Command8"));

    menuItem(*window, "mnuSecEncrypt").trigger();
    const std::string cipher = message();
    ASSERT_EQ(cipher.size(), typed.size() + 1);
    EXPECT_EQ(static_cast<unsigned char>(cipher[0]), 240u);
    EXPECT_EQ(cipher.find('\r'), std::string::npos) << "a cipher text is one line";
    EXPECT_FALSE(isEnabled(*window, "Command9"));
    EXPECT_TRUE(isEnabled(*window, "Command8"));
    EXPECT_TRUE(isEnabled(*window, "mnuSecDecrypt"));

    click("Command8");
    EXPECT_EQ(message(), typed);
    EXPECT_TRUE(shownBoxes(*window).empty());
}

TEST_F(KeyAndCipherCommands, RoadOfOneSealedMessageAndEncryptOfferingToSeal) {
    window = showWindow();
    enterMode(*window, kEmailMode);
    createKey("shared.tvk");
    const QString toolTip = control<QLineEdit>(*window, "Text1").toolTip();
    const std::string world = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xBC\xD0\xB8\xD1\x80! "
                              "\xF0\x9F\x98\x80\r\n\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
    messageArea(*window).setText(world);
    EXPECT_TRUE(isEnabled(*window, "mnuSecSeal"));

    // Encrypt names the first character it cannot carry and asks; No changes nothing.
    window->messageBox().setNextAnswer(Answer::No);
    click("Command9");
    ASSERT_EQ(shownBoxes(*window).size(), 1u);
    const auto& question = shownBoxes(*window)[0];
    EXPECT_EQ(question.buttons, platform::MessageBox::Buttons::YesNo);
    EXPECT_EQ(question.defaultAnswer, Answer::Yes);
    EXPECT_TRUE(question.text.contains(QStringLiteral(u"'\u041F' (U+041F) at position 1"))) << question.text.toStdString();
    EXPECT_TRUE(question.text.contains(QStringLiteral("only Text Tarvex and tarvex-cli"))) << question.text.toStdString();
    EXPECT_EQ(messageArea(*window).text(), world);

    // Seal by its shortcut; the rules then offer Decrypt, which gives the text back.
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    const std::string token(messageArea(*window).text());
    EXPECT_TRUE(token.starts_with("tarvex1")) << token;
    EXPECT_FALSE(isEnabled(*window, "mnuSecSeal"));
    EXPECT_TRUE(isEnabled(*window, "Command8"));

    // What tarvex-cli opens with the same key file.
    const auto cli = tarvex::test::runProcess(
        TARVEX_CLI_PATH, {"decrypt", "--sealed", "-k", dir.file("shared.tvk")}, {.input = token});
    EXPECT_EQ(cli.out, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xBC\xD0\xB8\xD1\x80! "
                       "\xF0\x9F\x98\x80\n\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E") << cli.err;

    click("Command8");
    EXPECT_EQ(messageArea(*window).text(), world);
    EXPECT_EQ(shownBoxes(*window).size(), 1u);
    EXPECT_EQ(control<QLineEdit>(*window, "Text1").toolTip(), toolTip) << "the key stays as it was";

    // Yes seals at once.
    window->messageBox().setNextAnswer(Answer::Yes);
    click("Command9");
    EXPECT_TRUE(messageArea(*window).text().starts_with("tarvex1"));
}

TEST_F(KeyAndCipherCommands, CreateKeyEnablesLoadTextFileInEveryMode) {
    ASSERT_FALSE(isEnabled(*window, "Command7"));
    createKey("k.tvk");
    EXPECT_TRUE(isEnabled(*window, "Command7"));
    EXPECT_FALSE(isEnabled(*window, "mnuFileLoad")) << "only the button";
}

TEST_F(KeyAndCipherCommands, CreateKeyOverAKeyAsksAndOnlyYesReplacesIt) {
    const std::string shared = "0A1B\r\n";
    tarvex::test::writeBytes(dir.file("shared.tvk"), shared);
    setKey(*window, pathOf("shared.tvk"));

    // No: the key stays byte for byte and the dialog comes back for another name.
    window->fileDialog().setNextFileNames({pathOf("shared.tvk"), pathOf("new.tvk")});
    window->messageBox().setNextAnswer(Answer::No);
    click("Command5");
    EXPECT_EQ(tarvex::test::readBytes(dir.file("shared.tvk")), shared);
    EXPECT_EQ(keyBox(), pathOf("new.tvk"));
    EXPECT_GE(tarvex::test::readBytes(dir.file("new.tvk")).size(), 910u);
    ASSERT_EQ(shownBoxes(*window).size(), 1u);
    const auto& question = shownBoxes(*window)[0];
    EXPECT_TRUE(question.text.contains(pathOf("shared.tvk"))) << question.text.toStdString();
    EXPECT_TRUE(question.text.contains(QStringLiteral("no longer be decrypted"))) << question.text.toStdString();
    EXPECT_EQ(question.buttons, platform::MessageBox::Buttons::YesNo);
    EXPECT_EQ(question.defaultAnswer, Answer::No);

    // No, then cancel: nothing changes at all.
    window->fileDialog().setNextFileNames({pathOf("shared.tvk"), {}});
    window->messageBox().setNextAnswer(Answer::No);
    click("Command5");
    EXPECT_EQ(tarvex::test::readBytes(dir.file("shared.tvk")), shared);
    EXPECT_EQ(keyBox(), pathOf("new.tvk"));

    window->fileDialog().setNextFileName(pathOf("shared.tvk"));
    window->messageBox().setNextAnswer(Answer::Yes);
    click("Command5");
    EXPECT_GE(tarvex::test::readBytes(dir.file("shared.tvk")).size(), 910u);
    EXPECT_EQ(tarvex::test::permissionBits(dir.file("shared.tvk")), 0600u);
    EXPECT_EQ(keyBox(), pathOf("shared.tvk"));
    EXPECT_EQ(shownBoxes(*window).size(), 3u);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"new.tvk", "shared.tvk"}));
}

TEST_F(KeyAndCipherCommands, LoadKeyReplacesTheKeyAndCancelKeepsIt) {
    createKey("made.tvk");
    window->fileDialog().setNextFileName(pathOf("received.tvk"));
    menuItem(*window, "mnuKeyLoad").trigger();
    EXPECT_EQ(keyBox(), pathOf("received.tvk"));

    window->fileDialog().setNextFileName({});
    click("Command4");
    EXPECT_EQ(keyBox(), pathOf("received.tvk"));
    window->fileDialog().setNextFileName({});
    click("Command5");
    EXPECT_EQ(keyBox(), pathOf("received.tvk"));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"made.tvk"});
}

TEST_F(KeyAndCipherCommands, KeyBoxToolTipCarriesTheFingerprintReadAtEachChoice) {
    const QLineEdit& box = control<QLineEdit>(*window, "Text1");
    const auto loadKey = [this](const QString& path) {
        window->fileDialog().setNextFileName(path);
        click("Command4");
    };
    EXPECT_EQ(box.toolTip(), QStringLiteral("Key File Name"));
    EXPECT_EQ(box.accessibleDescription(), QString());

    // Key numbers 3, 7, 30, 0; printf '\x03\x07\x1e\x00' | sha256sum starts 58b3f2b6bab7501d.
    tarvex::test::writeBytes(dir.file("received.tvk"), "12\r\n34\r\nFF\r\n00\r\n");
    loadKey(pathOf("received.tvk"));
    EXPECT_EQ(box.toolTip(), QStringLiteral("Key File Name\nFingerprint: 58B3 F2B6 BAB7 501D"));
    EXPECT_EQ(box.accessibleDescription(), QStringLiteral("Fingerprint: 58B3 F2B6 BAB7 501D"));

    // The same name chosen again after the file changed: read afresh.
    tarvex::test::writeBytes(dir.file("received.tvk"), "12\r\n34\r\nFF\r\n01\r\n");
    loadKey(pathOf("received.tvk"));
    EXPECT_TRUE(box.toolTip().startsWith(QStringLiteral("Key File Name\nFingerprint: ")));
    EXPECT_FALSE(box.toolTip().endsWith(QStringLiteral("58B3 F2B6 BAB7 501D"))) << box.toolTip().toStdString();

    const QString why = QStringLiteral("Fingerprint unavailable: cannot read '") + pathOf("gone.tvk") +
                        QStringLiteral("': No such file or directory");
    loadKey(pathOf("gone.tvk"));
    EXPECT_EQ(box.toolTip(), QStringLiteral("Key File Name\n") + why);
    EXPECT_EQ(box.accessibleDescription(), why);

    // Create Key shows the new key's fingerprint, the one tarvex-cli reads from the file.
    createKey("made.tvk");
    tarvex::test::ProcessResult cli =
        tarvex::test::runProcess(TARVEX_CLI_PATH, {"fingerprint", "-k", dir.file("made.tvk")}, {});
    ASSERT_EQ(cli.exitCode, 0) << cli.err;
    EXPECT_EQ(box.toolTip().toStdString(), "Key File Name\nFingerprint: " + cli.out.substr(0, cli.out.size() - 1));

    // Cancelling Load Key keeps the key and its fingerprint.
    const QString made = box.toolTip();
    loadKey({});
    EXPECT_EQ(box.toolTip(), made);
}

TEST_F(KeyAndCipherCommands, DialogSettingsAsEachCommandLeavesThem) {
    platform::FileDialog& dialog = window->fileDialog();
    dialog.setNextFileName({});
    click("Command4"); // before any command set a folder
    createKey("k.tvk");
    dialog.setNextFileName({});
    click("Command4"); // after Create Key

    // Save a text file, which empties the folder, then load a key again.
    enterMode(*window, kFileMode);
    setMessage("x");
    dialog.setNextFileName({});
    click("Command6");
    dialog.setNextFileName({});
    click("Command4");

    const auto& shown = shownDialogs(*window);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].settings.initDir, "");
    EXPECT_EQ(shown[1].settings.title, "Text Tarvex - Create Key Dialog");
    EXPECT_EQ(shown[1].kind, platform::FileDialog::Kind::Save);
    EXPECT_EQ(shown[2].settings.title, "Text Tarvex - Load Key Dialog");
    EXPECT_EQ(shown[2].kind, platform::FileDialog::Kind::Open);
    EXPECT_EQ(shown[2].settings.initDir, "C:\\Program Files\\DevStudio\\VB\\Tarvex\\Keys\\");
    EXPECT_EQ(shown[2].settings.filter, "Tarvex Key File(*.tvk)|*tvk");
    EXPECT_EQ(shown[3].settings.title, "Text Tarvex - Save File Dialog");
    EXPECT_EQ(shown[4].settings.initDir, "") << "Save left the dialog's own folder";
    EXPECT_EQ(dialog.settings().title, "Text Tarvex - Load Key Dialog") << "settings persist";
}

TEST_F(KeyAndCipherCommands, EncryptInIcqModeRefusesACipherTextPastTheLimit) {
    tarvex::test::writeBytes(dir.file("k.tvk"), "01\r\n");
    setKey(*window, pathOf("k.tvk"));
    enterMode(*window, kIcqMode);
    setMessage(std::string(450, 'a'));
    window->messageBox().setNextAnswer(Answer::Ok);
    click("Command9");
    EXPECT_EQ(message(), std::string(450, 'a'));
    ASSERT_EQ(shownBoxes(*window).size(), 1u);
    const QString& why = shownBoxes(*window)[0].text;
    EXPECT_TRUE(why.contains(QStringLiteral("451 characters long, 1 more than the 450"))) << why.toStdString();
    EXPECT_TRUE(why.contains(QStringLiteral("E-Mail mode"))) << why.toStdString();

    setMessage(std::string(449, 'a'));
    click("Command9");
    EXPECT_EQ(message(), "\xF0" + std::string(449, 'b'));
    EXPECT_EQ(shownBoxes(*window).size(), 1u);
}

TEST_F(KeyAndCipherCommands, EveryFailureShowsOneMessageAndKeepsTheText) {
    tarvex::test::writeBytes(dir.file("empty.tvk"), "\r\n");
    tarvex::test::writeBytes(dir.file("big.tvk"), "FF\r\n");
    struct Case {
        const char* name;
        QString key;
        std::string text;
        const char* command;
        QString mentions;
    };
    const std::vector<Case> cases = {
        {"missing key", pathOf("gone.tvk"), "hello", "Command9", QStringLiteral("No such file")},
        {"key is a folder", QString::fromStdString(dir.path()), "hello", "Command9", QStringLiteral("directory")},
        {"no key number", pathOf("empty.tvk"), "hello", "Command9", QStringLiteral("holds no key")},
        {"above 255", pathOf("big.tvk"), "ok\xF0", "Command9", QStringLiteral("position 3")},
        {"below 0", pathOf("big.tvk"), "\xF0" "a\r\nb", "Command8", QStringLiteral("line break")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window = loadWindow();
        setKey(*window, c.key);
        setMessage(c.text);
        window->messageBox().setNextAnswer(Answer::Ok);
        click(c.command);
        EXPECT_EQ(message(), c.text);
        ASSERT_EQ(shownBoxes(*window).size(), 1u);
        const auto& box = shownBoxes(*window)[0];
        EXPECT_EQ(box.title, QStringLiteral("Text Tarvex V1.1"));
        EXPECT_TRUE(box.text.contains(c.mentions)) << box.text.toStdString();
    }
}

TEST_F(KeyAndCipherCommands, UnwritableKeyLocationIsReportedAndNotChosen) {
    createKey("first.tvk");
    window->fileDialog().setNextFileName(pathOf("missing/k.tvk"));
    window->messageBox().setNextAnswer(Answer::Ok);
    click("Command5");
    EXPECT_EQ(keyBox(), pathOf("first.tvk"));
    ASSERT_EQ(shownBoxes(*window).size(), 1u);
    EXPECT_TRUE(shownBoxes(*window)[0].text.contains(pathOf("missing/k.tvk")));
}

TEST_F(KeyAndCipherCommands, KeyFileIsReadAfreshByEveryCommand) {
    createKey("k.tvk");
    setMessage("hello");
    click("Command9");
    const std::string cipher = message();

    // Replaced after loading: the next command uses what is there now (a zero key changes nothing).
    tarvex::test::writeBytes(dir.file("k.tvk"), "00\r\n");
    click("Command8");
    EXPECT_EQ(message(), cipher.substr(1));

    // Removed after loading: one message, and the text stays.
    ASSERT_EQ(::unlink(dir.file("k.tvk").c_str()), 0);
    window->messageBox().setNextAnswer(Answer::Ok);
    click("Command10");
    setMessage("again");
    click("Command9");
    EXPECT_EQ(message(), "again");
    ASSERT_EQ(shownBoxes(*window).size(), 1u);
    EXPECT_TRUE(shownBoxes(*window)[0].text.contains(QStringLiteral("No such file or directory")));
}

TEST_F(KeyAndCipherCommands, WindowAndCliUnderstandEachOther) {
    createKey("k.tvk");
    const std::string key = dir.file("k.tvk");

    tarvex::test::ProcessResult cli =
        tarvex::test::runProcess(TARVEX_CLI_PATH, {"encrypt", "-k", key, "-e", "cp1252"}, {.input = "A\r\nB"});
    ASSERT_EQ(cli.exitCode, 0) << cli.err;
    ASSERT_GE(cli.out.size(), 2u);
    setMessage(cli.out.substr(0, cli.out.size() - 2)); // without its CR LF
    click("Command8");
    EXPECT_EQ(message(), "A\r\nB");

    setMessage("");
    setMessage("From the window\r\nto the terminal.");
    click("Command9");
    tarvex::test::ProcessResult back =
        tarvex::test::runProcess(TARVEX_CLI_PATH, {"decrypt", "-k", key, "-e", "cp1252"}, {.input = message()});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(back.out, "From the window\r\nto the terminal.");
}

} // namespace
} // namespace tarvex::window::test
