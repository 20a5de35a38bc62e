// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "window/message_area.h"
#include "window/tarvex.h"
#include "window/working_mode.h"

#include "../support/recording_dialogs.h"
#include "../support/test_support.h"

#include <QAction>
#include <QString>

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvex::window::test {

// The window as the start-up leaves it, not shown.
std::unique_ptr<Tarvex> loadWindow();
// The same, shown as the program shows it.
std::unique_ptr<Tarvex> openWindow();
// The same, shown and active, for tests that type.
std::unique_ptr<Tarvex> showWindow();

// What the window's message box was asked and how its file dialog was shown,
// since loadWindow() or showWindow() made it.
const std::vector<platform::MessageBox::Request>& shownBoxes(Tarvex& window);
const std::vector<tarvex::test::ShownDialog>& shownDialogs(Tarvex& window);

template <typename T>
T& control(const Tarvex& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        throw std::runtime_error(std::string("no control named ") + name);
    }
    return *found;
}

QAction& menuItem(const Tarvex& window, const char* name);
MessageArea& messageArea(const Tarvex& window);
bool isEnabled(const Tarvex& window, const char* name); // a control or a menu item

void setKey(Tarvex& window, const QString& path);

// Click on the mode button of a mode, as a user would.
void clickModeOption(Tarvex& window, ModeNumber mode);
// Choose the mode's menu item.
void chooseModeItem(Tarvex& window, ModeNumber mode);
// Bring a freshly loaded window into a mode by its mode buttons; 0 leaves it as loaded.
void enterMode(Tarvex& window, ModeNumber mode);

const char* optionName(ModeNumber mode);
const char* modeItemName(ModeNumber mode);

} // namespace tarvex::window::test

// Readable QString values in test failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
