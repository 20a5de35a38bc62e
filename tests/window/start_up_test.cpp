// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace tarvex::window::test {
namespace {

TEST(StartUp, MainShowsTheWindowNotModal) {
    const auto window = openWindow();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(StartUp, ClosingTheWindowEndsTheProgramWithoutAQuestion) {
    const auto window = openWindow();
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    // The window's close control, from inside the running program.
    QTimer::singleShot(0, window.get(), [&] { window->close(); });
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QApplication::exit(1);
    });
    watchdog.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(timedOut);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(lastClosed.count(), 1);
}

} // namespace
} // namespace tarvex::window::test
