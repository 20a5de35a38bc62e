// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/window_language.h"

#include <QApplication>

#include <gtest/gtest.h>

// As the program starts: the session's language taken up before any window.
int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvex::window::useSessionLanguage(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
