// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "about/build_settings.h"

#include <QStringList>

#include <string_view>

class QWidget;

namespace tarvex::platform {
class HelpViewer;
class MessageBox;
} // namespace tarvex::platform

namespace tarvex::about {

// Exit: asks first; on Yes the main window closes. The program then ends once
// none of its windows is left open.
void exitCommand(QWidget& mainWindow, platform::MessageBox& messageBox);

// Help: shows the contents of `helpFile` through the help viewer, or says that
// the program has no help when the setting is empty.
void helpCommand(QWidget& mainWindow, platform::MessageBox& messageBox, platform::HelpViewer& viewer,
                 std::string_view helpFile = kHelpFile);

// Where this program's help pages may be, in the order to look: the pages in
// the language of the window's words first, where there are any.
QStringList helpDirectories();

} // namespace tarvex::about
