// SPDX-License-Identifier: GPL-3.0-or-later

#include "about_test_support.h"

#include "about/about_commands.h"
#include "about/exit_and_help.h"

#include "platform/help_viewer.h"
#include "platform/help_window.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMainWindow>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace tarvex::about::test {
namespace {

using Answer = platform::MessageBox::Answer;
using Icon = platform::MessageBox::Icon;

const QString kHelpPages = QStringLiteral(TARVEX_TEST_HELP_DIR);

// Stands in for the main window: its caption and some text.
class MainWindowTest : public ::testing::Test {
protected:
    QMainWindow mainWindow;
    QLineEdit* text = new QLineEdit(QStringLiteral("an unsaved message"), &mainWindow);
    ArmedMessageBox messageBox;
    platform::HtmlHelpViewer viewer{messageBox, {kHelpPages}};

    void SetUp() override {
        mainWindow.setWindowTitle(QStringLiteral("Text Tarvex - v1.1"));
        mainWindow.setCentralWidget(text);
        mainWindow.show();
    }
    QString shownPage() const {
        return viewer.window() == nullptr ? QString()
                                          : QFileInfo(viewer.window()->browser().source().toLocalFile()).fileName();
    }
};

using Exit = MainWindowTest;
using Help = MainWindowTest;

TEST_F(Exit, AsksAndClosesOnlyOnYes) {
    messageBox.setNextAnswer(Answer::No);
    exitCommand(mainWindow, messageBox);
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_EQ(text->text(), QStringLiteral("an unsaved message"));

    messageBox.setNextAnswer(Answer::Yes);
    exitCommand(mainWindow, messageBox);
    EXPECT_FALSE(mainWindow.isVisible());

    ASSERT_EQ(messageBox.shown().size(), 2u) << "one question each time, nothing else";
    for (const auto& question : messageBox.shown()) {
        EXPECT_EQ(question.text, QStringLiteral("Do You Really Wish To Exit?"));
        EXPECT_EQ(question.title, QStringLiteral("Exit Text Tarvex"));
        EXPECT_EQ(question.buttons, platform::MessageBox::Buttons::YesNo);
        EXPECT_EQ(question.icon, Icon::None);
        EXPECT_EQ(question.defaultAnswer, Answer::Yes);
    }
}

TEST_F(Exit, YesEndsTheProgramEvenWithHelpOpen) {
    bool helpOpen = false;
    EXPECT_TRUE(runUntilTheProgramEnds([&] {
        helpCommand(mainWindow, messageBox, viewer, "A:\\tarvex.hlp");
        helpOpen = viewer.window() != nullptr && viewer.window()->isVisible();
        messageBox.setNextAnswer(Answer::Yes);
        exitCommand(mainWindow, messageBox);
    }));
    EXPECT_TRUE(helpOpen);
}

TEST_F(Help, ShowsTheInstalledHelpOfTheSameNameOrAnExistingFile) {
    helpCommand(mainWindow, messageBox, viewer, "A:\\tarvex.hlp");
    EXPECT_EQ(shownPage(), QStringLiteral("tarvex.html"));
    EXPECT_EQ(viewer.window()->windowTitle(), QStringLiteral("Text Tarvex Help"));

    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("notes.html")), "<title>Our notes</title>");
    helpCommand(mainWindow, messageBox, viewer, dir.filePath(QStringLiteral("notes.html")).toStdString());
    EXPECT_EQ(shownPage(), QStringLiteral("notes.html"));
    // An existing file in a form the viewer cannot show gives way to the installed help.
    writeFile(dir.filePath(QStringLiteral("tarvex.hlp")), QByteArray("?_\x03\0", 4));
    helpCommand(mainWindow, messageBox, viewer, dir.filePath(QStringLiteral("tarvex.hlp")).toStdString());
    EXPECT_EQ(viewer.window()->browser().source().toLocalFile(), QDir(kHelpPages).filePath("tarvex.html"));
    EXPECT_TRUE(messageBox.shown().empty());
}

TEST_F(Help, AMissingHelpFileIsReportedByTheViewer) {
    messageBox.setNextAnswer(Answer::Ok);
    helpCommand(mainWindow, messageBox, viewer, "A:\\nosuch.hlp");
    EXPECT_EQ(viewer.window(), nullptr);
    ASSERT_EQ(messageBox.shown().size(), 1u);
    EXPECT_TRUE(messageBox.shown()[0].text.contains(QStringLiteral("A:\\nosuch.hlp")));
    EXPECT_NE(messageBox.shown()[0].title, QStringLiteral("Text Tarvex V1.1")) << "the viewer's own message";
}

TEST_F(Help, AnEmptySettingSaysThereIsNoHelp) {
    messageBox.setNextAnswer(Answer::Ok);
    helpCommand(mainWindow, messageBox, viewer, "");
    EXPECT_EQ(viewer.window(), nullptr) << "no viewer opens";
    ASSERT_EQ(messageBox.shown().size(), 1u);
    const auto& message = messageBox.shown()[0];
    EXPECT_EQ(message.text,
              QStringLiteral("Unable to display Help Contents. There is no Help associated with this project."));
    EXPECT_EQ(message.title, QStringLiteral("Text Tarvex - v1.1"));
    EXPECT_EQ(message.icon, Icon::Information);
    EXPECT_EQ(message.buttons, platform::MessageBox::Buttons::Ok);
}

TEST_F(Help, AnErrorOfTheCallIsShownWithItsDescription) {
    struct FailingViewer final : platform::HelpViewer {
        void showHelp(QWidget*, const std::string&, Command) override {
            throw platform::HelpError(QStringLiteral("The help engine is not installed."));
        }
    } failing;
    messageBox.setNextAnswer(Answer::Ok);
    helpCommand(mainWindow, messageBox, failing, "A:\\tarvex.hlp");
    ASSERT_EQ(messageBox.shown().size(), 1u);
    const auto& message = messageBox.shown()[0];
    EXPECT_EQ(message.text, QStringLiteral("The help engine is not installed."));
    EXPECT_EQ(message.title, QStringLiteral("Text Tarvex V1.1"));
    EXPECT_EQ(message.icon, Icon::None);
    EXPECT_EQ(message.buttons, platform::MessageBox::Buttons::Ok);
}

TEST_F(Help, LinksBackForwardAndContents) {
    helpCommand(mainWindow, messageBox, viewer, "A:\\tarvex.hlp");
    platform::HelpWindow& help = *viewer.window();
    EXPECT_FALSE(help.backAction().isEnabled());
    // The first link of the contents, by keyboard.
    help.browser().setFocus();
    QTest::keyClick(&help.browser(), Qt::Key_Tab);
    QTest::keyClick(&help.browser(), Qt::Key_Return);
    EXPECT_EQ(shownPage(), QStringLiteral("purpose.html"));
    EXPECT_EQ(help.windowTitle(), QStringLiteral("What Text Tarvex is for"));
    help.backAction().trigger();
    EXPECT_EQ(shownPage(), QStringLiteral("tarvex.html"));
    help.forwardAction().trigger();
    EXPECT_EQ(shownPage(), QStringLiteral("purpose.html"));
    help.contentsAction().trigger();
    EXPECT_EQ(shownPage(), QStringLiteral("tarvex.html"));

    // Help chosen again brings the same window back, at the contents.
    help.forwardAction().trigger();
    help.close();
    helpCommand(mainWindow, messageBox, viewer, "A:\\tarvex.hlp");
    EXPECT_EQ(viewer.window(), &help);
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(shownPage(), QStringLiteral("tarvex.html"));
}

TEST(HelpPages, EveryTopicIsOnTheContentsAndEveryLinkLeadsSomewhere) {
    const QDir pages(kHelpPages);
    const QStringList files = pages.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_TRUE(files.contains(QStringLiteral("tarvex.html")));
    const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
    QStringList onContents;
    for (const QString& name : files) {
        QFile file(pages.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(html.contains(QRegularExpression(QStringLiteral("<title>[^<]+</title>")))) << name;
        for (const auto& match : link.globalMatch(html)) {
            EXPECT_TRUE(files.contains(match.captured(1))) << name << " links to " << match.captured(1);
            if (name == QStringLiteral("tarvex.html")) onContents << match.captured(1);
        }
    }
    for (const QString& name : files) {
        EXPECT_TRUE(name == QStringLiteral("tarvex.html") || onContents.contains(name)) << name;
    }
    // What the program keeps secret and what it cannot has a page of its own.
    QFile secrets(pages.filePath(QStringLiteral("secrets.html")));
    ASSERT_TRUE(secrets.open(QIODevice::ReadOnly));
    const QString secretsPage = QString::fromUtf8(secrets.readAll());
    EXPECT_TRUE(secretsPage.contains(QStringLiteral("<title>What stays secret</title>")));
    for (const char* topic : {"primary selection", "screen", "display server", "swap", "other side"}) {
        EXPECT_TRUE(secretsPage.contains(QLatin1String(topic))) << topic;
    }
}

TEST_F(Help, TheWindowsCommandsWithThisPlatformsServices) {
    Commands commands(messageBox);
    commands.about();
    AboutDialog* box = commands.aboutBox().current();
    ASSERT_NE(box, nullptr);
    commands.about();
    EXPECT_EQ(commands.aboutBox().current(), box);

    // The built-in setting leads to the help pages in the source tree or installed ones.
    messageBox.setNextAnswer(Answer::Ok);
    commands.help(mainWindow);
    EXPECT_EQ(commands.helpViewer().window() != nullptr, !kHelpFile.empty());
    EXPECT_EQ(messageBox.shown().size(), kHelpFile.empty() ? 1u : 0u);

    messageBox.setNextAnswer(Answer::No);
    commands.exit(mainWindow);
    EXPECT_TRUE(mainWindow.isVisible());
}

} // namespace
} // namespace tarvex::about::test
