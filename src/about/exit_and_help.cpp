// SPDX-License-Identifier: GPL-3.0-or-later

#include "exit_and_help.h"


#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include <exception>
#include <string>

namespace tarvex::about {
namespace {

using platform::qt;

} // namespace

void exitCommand(QWidget& mainWindow, platform::MessageBox& messageBox) {
    platform::MessageBox::Request question;
    question.text = QStringLiteral("Do You Really Wish To Exit?");
    question.title = QStringLiteral("Exit Text Tarvex");
    question.buttons = platform::MessageBox::Buttons::YesNo;
    question.icon = platform::MessageBox::Icon::None;
    question.defaultAnswer = platform::MessageBox::Answer::Yes;
    if (messageBox.ask(question, &mainWindow) == platform::MessageBox::Answer::Yes) mainWindow.close();
}

void helpCommand(QWidget& mainWindow, platform::MessageBox& messageBox, platform::HelpViewer& viewer,
                 std::string_view helpFile) {
    if (helpFile.empty()) {
        platform::MessageBox::Request request;
        request.text =
            QStringLiteral("Unable to display Help Contents. There is no Help associated with this project.");
        request.title = mainWindow.windowTitle();
        request.icon = platform::MessageBox::Icon::Information;
        messageBox.ask(request, &mainWindow);
        return;
    }
    try {
        viewer.showHelp(&mainWindow, std::string(helpFile), platform::HelpViewer::Command::Contents);
    } catch (const std::exception& error) {
        const auto* helpError = dynamic_cast<const platform::HelpError*>(&error);
        platform::showNotice(messageBox, &mainWindow,
                             helpError != nullptr ? helpError->description() : QString::fromLocal8Bit(error.what()));
    }
}

QStringList helpDirectories() {
    QStringList directories;
    if (QCoreApplication::instance() != nullptr) {
        // The program's folder: bin/ when installed. Its parent serves programs
        // run from the build, one folder deeper (src/app, tests/about), for
        // which the build folder holds the pages at share/tarvex/help.
        const QDir programDir(QCoreApplication::applicationDirPath());
        directories << QDir::cleanPath(programDir.filePath(qt(kHelpDirFromProgram)));
        directories << QDir::cleanPath(programDir.filePath(QStringLiteral("../") + qt(kHelpDirFromProgram)));
    }
    directories << qt(kInstalledHelpDir);
    directories.removeDuplicates();
    return directories;
}

} // namespace tarvex::about
