// SPDX-License-Identifier: GPL-3.0-or-later

#include "about_commands.h"

#include "exit_and_help.h"

namespace tarvex::about {

Commands::Commands(platform::MessageBox& messageBox)
    : messageBox_(messageBox),
      helpViewer_(messageBox, helpDirectories()),
      aboutBox_(SysInfoServices{launcher_, messageBox}) {}

void Commands::exit(QWidget& mainWindow) const {
    exitCommand(mainWindow, messageBox_);
}

void Commands::help(QWidget& mainWindow) {
    helpCommand(mainWindow, messageBox_, helpViewer_);
}

void Commands::about() {
    aboutBox_.show();
}

} // namespace tarvex::about
