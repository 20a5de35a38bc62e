// SPDX-License-Identifier: GPL-3.0-or-later

#include "about_test_support.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace tarvex::about::test {

platform::MessageBox::Answer ArmedMessageBox::runBox(const Request& request, QWidget*) {
    ADD_FAILURE() << "a message box opened without an answer: " << request.text.toStdString();
    return Answer::No;
}

bool startSysInfo(AboutDialog& box, ArmedMessageBox& messageBox) {
    const std::size_t before = messageBox.shown().size();
    messageBox.setNextAnswer(platform::MessageBox::Answer::Ok);
    box.startSystemInformation();
    if (messageBox.shown().size() == before) {
        messageBox.setNextAnswer(platform::MessageBox::Answer::Ok); // unused; cleared for the next box
        return false;
    }
    EXPECT_EQ(messageBox.shown().size(), before + 1);
    const auto& message = messageBox.shown().back();
    EXPECT_EQ(message.text, QStringLiteral("System Information Is Unavailable At This Time"));
    EXPECT_EQ(message.title, QStringLiteral("Text Tarvex V1.1"));
    EXPECT_EQ(message.buttons, platform::MessageBox::Buttons::Ok);
    EXPECT_EQ(message.icon, platform::MessageBox::Icon::None);
    return true;
}

void writeFile(const QString& path, const QByteArray& bytes, QFile::Permissions mode) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path;
    file.write(bytes);
    file.close();
    ASSERT_TRUE(file.setPermissions(mode | QFile::WriteOwner));
}

bool waitForFile(const QString& path) {
    return QTest::qWaitFor([&] { return QFileInfo::exists(path); }, 5000);
}

ScopedPath::ScopedPath(const QString& path) : saved_(qgetenv("PATH")) {
    qputenv("PATH", path.toLocal8Bit());
}

ScopedPath::~ScopedPath() {
    qputenv("PATH", saved_);
}

bool runUntilTheProgramEnds(const std::function<void()>& steps) {
    QTimer::singleShot(0, steps);
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QApplication::exit(1);
    });
    watchdog.start(5000);
    return QApplication::exec() == 0 && !timedOut;
}

} // namespace tarvex::about::test
