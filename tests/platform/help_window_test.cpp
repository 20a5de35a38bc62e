// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/help_window.h"

#include "../support/test_support.h"

#include <QFile>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <gtest/gtest.h>

namespace tarvex::platform::test {
namespace {

TEST(HelpWindow, EscAndCtrlWCloseIt) {
    tarvex::test::TempDir dir;
    QFile page(QString::fromStdString(dir.file("page.html")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><head><title>Page</title></head><body><p>Some help.</p></body></html>");
    page.close();

    HelpWindow help;
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::CTRL | Qt::Key_W)}) {
        help.showContents(QUrl::fromLocalFile(page.fileName()));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
        help.browser().setFocus();
        ASSERT_TRUE(help.isVisible());
        QTest::keyClick(&help.browser(), key.key(), key.keyboardModifiers());
        EXPECT_FALSE(help.isVisible()) << QKeySequence(key).toString().toStdString();
    }
}

} // namespace
} // namespace tarvex::platform::test
