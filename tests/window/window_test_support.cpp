// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include <map>

namespace tarvex::window::test {

namespace {

struct Records {
    explicit Records(Tarvex& window) : boxes(window.messageBox()), dialogs(window.fileDialog()) {}
    tarvex::test::BoxRecord boxes;
    tarvex::test::DialogRecord dialogs;
};

// By window; a window made where an earlier one was gets records of its own.
std::map<const Tarvex*, std::unique_ptr<Records>>& records() {
    static std::map<const Tarvex*, std::unique_ptr<Records>> byWindow;
    return byWindow;
}

void startRecords(Tarvex& window) {
    records()[&window] = std::make_unique<Records>(window);
}

Records& recordsOf(Tarvex& window) {
    const auto found = records().find(&window);
    if (found == records().end()) throw std::runtime_error("the window was not made by loadWindow() or showWindow()");
    return *found->second;
}

} // namespace

std::unique_ptr<Tarvex> loadWindow() {
    auto window = std::make_unique<Tarvex>();
    startRecords(*window);
    return window;
}

const std::vector<platform::MessageBox::Request>& shownBoxes(Tarvex& window) {
    return recordsOf(window).boxes.shown();
}

const std::vector<tarvex::test::ShownDialog>& shownDialogs(Tarvex& window) {
    return recordsOf(window).dialogs.shown();
}

std::unique_ptr<Tarvex> openWindow() {
    auto window = loadWindow();
    window->show();
    return window;
}

std::unique_ptr<Tarvex> showWindow() {
    auto window = openWindow();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) {
        throw std::runtime_error("the window did not become active");
    }
    return window;
}

QAction& menuItem(const Tarvex& window, const char* name) {
    return control<QAction>(window, name);
}

MessageArea& messageArea(const Tarvex& window) {
    return control<MessageArea>(window, "Text3");
}

bool isEnabled(const Tarvex& window, const char* name) {
    const QString objectName = QString::fromLatin1(name);
    if (const auto* item = window.findChild<QAction*>(objectName)) {
        return item->isEnabled();
    }
    return control<QWidget>(window, name).isEnabled();
}

void setKey(Tarvex& window, const QString& path) {
    control<QLineEdit>(window, "Text1").setText(path);
}

const char* optionName(ModeNumber mode) {
    switch (mode) {
    case kIcqMode: return "Option1";
    case kEmailMode: return "Option2";
    case kFileMode: return "Option3";
    default: throw std::invalid_argument("no option button for this mode");
    }
}

const char* modeItemName(ModeNumber mode) {
    switch (mode) {
    case kIcqMode: return "mnuModeICQ";
    case kEmailMode: return "mnuModeEmail";
    case kFileMode: return "mnuModeFile";
    default: throw std::invalid_argument("no menu item for this mode");
    }
}

void clickModeOption(Tarvex& window, ModeNumber mode) {
    control<QAbstractButton>(window, optionName(mode)).click();
}

void chooseModeItem(Tarvex& window, ModeNumber mode) {
    menuItem(window, modeItemName(mode)).trigger();
}

void enterMode(Tarvex& window, ModeNumber mode) {
    if (mode == kNoMode) {
        return;
    }
    if (mode == kIcqMode) {
        // ICQ is selected at start without having been entered.
        clickModeOption(window, kEmailMode);
    }
    clickModeOption(window, mode);
}

} // namespace tarvex::window::test
