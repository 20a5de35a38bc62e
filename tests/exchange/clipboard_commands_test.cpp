// SPDX-License-Identifier: GPL-3.0-or-later

#include "exchange/clipboard_commands.h"

#include "fake_exchange_host.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

namespace tarvex::exchange::test {
namespace {

using Answer = platform::MessageBox::Answer;

class ClipboardCommands : public ::testing::Test {
protected:
    FakeExchangeHost host;
    QClipboard* clipboard = QGuiApplication::clipboard();

    void SetUp() override { clipboard->setText(QStringLiteral("was there before")); }
};

TEST_F(ClipboardCommands, CopyPutsTheWholeTextAndNothingElse) {
    auto* data = new QMimeData;
    data->setText(QStringLiteral("old"));
    data->setHtml(QStringLiteral("<b>old</b>"));
    clipboard->setMimeData(data);

    host.message = "first line\r\nsecond line";
    copyToClipboard(host);
    EXPECT_EQ(clipboard->text(), QStringLiteral("first line\r\nsecond line"));
    EXPECT_FALSE(clipboard->mimeData()->hasHtml()) << "every other format is gone";
}

TEST_F(ClipboardCommands, CopyMarksAMessageSecretButNotACipherText) {
    const auto hint = [this] { return clipboard->mimeData()->data(QStringLiteral("x-kde-passwordManagerHint")); };
    host.message = "tarvex is the word";
    copyToClipboard(host);
    EXPECT_EQ(hint(), QByteArray("secret"));
    // A classic cipher text, and a sealed one behind quote marks, a soft hyphen and white space.
    for (const std::string cipher : {"\xF0" "abc", " >\t> \xAD" "tarvex1AbC"}) {
        host.message = text::charset::toUtf8(cipher);
        copyToClipboard(host);
        EXPECT_EQ(clipboard->text(), QString::fromUtf8(text::charset::toUtf8(cipher)));
        EXPECT_TRUE(hint().isEmpty()) << cipher;
    }
}

TEST_F(ClipboardCommands, CopyOfAnEmptyTextLeavesTheClipboard) {
    copyToClipboard(host);
    EXPECT_EQ(clipboard->text(), QStringLiteral("was there before"));
}

TEST_F(ClipboardCommands, CopiedCipherTextPastesBackExactly) {
    std::string cipher = "\xF0";
    for (int c = 32; c <= 255; ++c) cipher.push_back(static_cast<char>(c));
    cipher = text::charset::toUtf8(cipher);
    host.message = cipher;
    copyToClipboard(host);
    host.message.clear();
    pasteFromClipboard(host);
    EXPECT_EQ(host.message, cipher);
}

TEST_F(ClipboardCommands, PasteOnlyIntoAnEmptyAreaAndOnlyWhole) {
    host.message = "mine";
    pasteFromClipboard(host);
    EXPECT_EQ(host.message, "mine");
    EXPECT_EQ(host.messageSets, 0);

    // "was there before" is 16 characters: one more than the limit refuses it all.
    host.message.clear();
    host.limit = 15;
    host.box.setNextAnswer(Answer::Ok);
    pasteFromClipboard(host);
    EXPECT_EQ(host.messageSets, 0);
    ASSERT_EQ(host.box.shown().size(), 1u);
    const QString& why = host.box.shown()[0].text;
    EXPECT_TRUE(why.contains(QStringLiteral("clipboard is 16 characters long"))) << why.toStdString();
    EXPECT_TRUE(why.contains(QStringLiteral("E-Mail"))) << why.toStdString();

    host.limit = 16;
    pasteFromClipboard(host);
    EXPECT_EQ(host.message, "was there before");
    EXPECT_EQ(host.box.shown().size(), 1u);
}

TEST_F(ClipboardCommands, PasteOfAPictureLeavesTheAreaEmpty) {
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    clipboard->setImage(picture);
    pasteFromClipboard(host);
    EXPECT_EQ(host.message, "");
    EXPECT_TRUE(host.box.shown().empty());
}

TEST_F(ClipboardCommands, ClearClipboardAsksFirst) {
    host.box.setNextAnswer(Answer::No);
    clearClipboard(host);
    EXPECT_EQ(clipboard->text(), QStringLiteral("was there before"));

    host.box.setNextAnswer(Answer::Yes);
    clearClipboard(host);
    EXPECT_EQ(clipboard->text(), QString());

    ASSERT_EQ(host.box.shown().size(), 2u);
    const auto& question = host.box.shown()[0];
    EXPECT_EQ(question.text, QStringLiteral("Do You Really Want To Clear The Clipboard?"));
    EXPECT_EQ(question.title, QStringLiteral("Clear Clipboard"));
    EXPECT_EQ(question.buttons, platform::MessageBox::Buttons::YesNo);
    EXPECT_EQ(question.icon, platform::MessageBox::Icon::None);
    EXPECT_EQ(question.defaultAnswer, Answer::Yes);
}

TEST_F(ClipboardCommands, ClearTextEmptiesTheAreaAndNotTheClipboard) {
    host.message = "something";
    clearText(host);
    EXPECT_EQ(host.message, "");
    EXPECT_EQ(clipboard->text(), QStringLiteral("was there before"));
    EXPECT_TRUE(host.box.shown().empty());
}

} // namespace
} // namespace tarvex::exchange::test
