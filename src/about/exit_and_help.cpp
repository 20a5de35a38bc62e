// SPDX-License-Identifier: GPL-3.0-or-later

#include "exit_and_help.h"

#include "i18n/catalogue.h"
#include "i18n/marks.h"
#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include <exception>
#include <string>
#include <vector>

namespace tarvex::about {
namespace {

using platform::qt;

} // namespace

void exitCommand(QWidget& mainWindow, platform::MessageBox& messageBox) {
    platform::MessageBox::Request question;
    question.text = qt(_("Do You Really Wish To Exit?"));
    question.title = qt(_("Exit Text Tarvex"));
    question.buttons = platform::MessageBox::Buttons::YesNo;
    question.icon = platform::MessageBox::Icon::None;
    question.defaultAnswer = platform::MessageBox::Answer::Yes;
    if (messageBox.ask(question, &mainWindow) == platform::MessageBox::Answer::Yes) mainWindow.close();
}

void helpCommand(QWidget& mainWindow, platform::MessageBox& messageBox, platform::HelpViewer& viewer,
                 std::string_view helpFile) {
    if (helpFile.empty()) {
        platform::MessageBox::Request request;
        request.text = qt(_("Unable to display Help Contents. There is no Help associated with this project."));
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
    QStringList places;
    if (QCoreApplication::instance() != nullptr) {
        // The program's folder: bin/ when installed. Its parent serves programs
        // run from the build, one folder deeper (src/app, tests/about), for
        // which the build folder holds the pages at share/tarvex/help.
        const QDir programDir(QCoreApplication::applicationDirPath());
        places << QDir::cleanPath(programDir.filePath(qt(kHelpDirFromProgram)));
        places << QDir::cleanPath(programDir.filePath(QStringLiteral("../") + qt(kHelpDirFromProgram)));
    }
    places << qt(kInstalledHelpDir);
    places.removeDuplicates();

    // The pages in the language of the window's words (help/de, help/pt_BR then
    // help/pt), where they are installed; the English ones otherwise.
    QStringList directories;
    for (const std::string& language : i18n::languageFolders(i18n::catalogueLanguage())) {
        for (const QString& place : places) directories << QDir(place).filePath(qt(language));
    }
    directories << places;
    return directories;
}

} // namespace tarvex::about
