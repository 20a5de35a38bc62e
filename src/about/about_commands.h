// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "about_box.h"

#include "platform/help_viewer.h"
#include "platform/program_launcher.h"

class QWidget;

namespace tarvex::platform {
class MessageBox;
}

namespace tarvex::about {

// Exit, Help and About for the main window, with this platform's help viewer
// and program launcher. The main window owns one and outlives it; every
// message box goes through `messageBox`.
class Commands {
public:
    explicit Commands(platform::MessageBox& messageBox);
    Commands(const Commands&) = delete;
    Commands& operator=(const Commands&) = delete;

    void exit(QWidget& mainWindow) const;
    void help(QWidget& mainWindow);
    void about();

    AboutBox& aboutBox() { return aboutBox_; }
    platform::HtmlHelpViewer& helpViewer() { return helpViewer_; }

private:
    platform::MessageBox& messageBox_;
    platform::DetachedProgramLauncher launcher_;
    platform::HtmlHelpViewer helpViewer_;
    AboutBox aboutBox_; // last: an open box goes before the services it uses
};

} // namespace tarvex::about
