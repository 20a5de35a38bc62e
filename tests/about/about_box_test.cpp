// SPDX-License-Identifier: GPL-3.0-or-later

#include "about_test_support.h"

#include "about/exit_and_help.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace tarvex::about::test {
namespace {

template <typename T = QWidget>
T& child(const QWidget& box, const char* name) {
    T* found = box.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) throw std::runtime_error(std::string("no element named ") + name);
    return *found;
}

void unloadClosedBoxes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class AboutBoxTest : public ::testing::Test {
protected:
    SysInfoRig rig;
    AboutBox about{rig.services};

    AboutDialog& open() {
        about.show();
        if (about.current() == nullptr) throw std::runtime_error("no About box open");
        return *about.current();
    }
    void TearDown() override { unloadClosedBoxes(); }
};

TEST_F(AboutBoxTest, ElementsTextsAndPositions) {
    const AboutDialog& box = open();
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Text Tarvex"));
    EXPECT_EQ(box.size(), QSize(382, 274));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_FALSE(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    const struct {
        const char* name;
        QRect pixels;
        const char* text;
    } rows[] = {
        {"picIcon", {224, 8, 151, 151}, ""},
        {"lblTitle", {8, 16, 129, 20}, "Text Tarvex"},
        {"lblVersion", {8, 48, 35, 13}, "Version 1.1"},
        {"lblDescription", {8, 64, 74, 13}, "Text Encryption"},
        {"lblLicence", {8, 88, 210, 13}, "Licence: GPL-3.0-or-later"},
        {"cmdOK", {283, 175, 84, 23}, "OK"},
        {"cmdSysInfo", {284, 205, 83, 23}, "&System Info..."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QWidget& element = child(box, row.name);
        EXPECT_TRUE(element.isVisible());
        EXPECT_EQ(element.pos(), row.pixels.topLeft());
        EXPECT_EQ(element.height(), row.pixels.height());
        if (const auto* label = qobject_cast<const QLabel*>(&element); label && *row.text) {
            EXPECT_EQ(label->text(), QString::fromLatin1(row.text));
            // Wider than designed only where the text needs it.
            EXPECT_EQ(element.width(), std::max(row.pixels.width(), label->sizeHint().width()));
        } else {
            EXPECT_EQ(element.width(), row.pixels.width());
        }
        if (const auto* button = qobject_cast<const QPushButton*>(&element)) {
            EXPECT_EQ(button->text(), QString::fromLatin1(row.text));
        }
    }
    EXPECT_TRUE(child(box, "lblTitle").font().bold());
    EXPECT_EQ(child(box, "lblTitle").font().pointSizeF(), 12.0);
    const QLabel& picture = child<QLabel>(box, "picIcon");
    EXPECT_EQ(picture.contentsRect().size(), QSize(147, 147));
    EXPECT_EQ(picture.pixmap().deviceIndependentSize().toSize(), QSize(147, 147));
    EXPECT_NE(picture.pixmap().toImage().pixelColor(73, 73).alpha(), 0) << "the picture is drawn";
}

TEST_F(AboutBoxTest, EtchedRuleOfAGreyAndAWhiteLine) {
    const QImage image = open().grab().toImage();
    const QColor grey(128, 128, 128);
    const QColor white(Qt::white);
    for (int x = 6; x <= 375; ++x) ASSERT_EQ(image.pixelColor(x, 163), grey) << x;
    for (int x = 7; x <= 375; ++x) ASSERT_EQ(image.pixelColor(x, 164), white) << x;
    EXPECT_NE(image.pixelColor(6, 164), white);
    EXPECT_NE(image.pixelColor(100, 162), grey);
    EXPECT_NE(image.pixelColor(100, 165), white);
}

TEST_F(AboutBoxTest, EveryReopeningShowsTheProgramsTextsNotTheDesignsPlaceholders) {
    const AboutDialog made(rig.services);
    EXPECT_EQ(made.windowTitle(), QStringLiteral("About Text Tarvex"));
    EXPECT_EQ(child<QLabel>(made, "lblTitle").text(), QStringLiteral("Text Tarvex"));

    const QPointer<AboutDialog> first = &open();
    child<QPushButton>(*first, "cmdOK").click();
    EXPECT_EQ(about.current(), nullptr);
    // Chosen again before the closed box is gone: a new one comes all the same.
    const QPointer<AboutDialog> second = &open();
    unloadClosedBoxes();
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->windowTitle(), QStringLiteral("About Text Tarvex"));
    EXPECT_EQ(child<QLabel>(*second, "lblTitle").text(), QStringLiteral("Text Tarvex"));
    EXPECT_EQ(child<QLabel>(*second, "lblVersion").text(), QStringLiteral("Version 1.1"));
}

TEST_F(AboutBoxTest, OneModelessBoxOfItsOwn) {
    AboutDialog& box = open();
    EXPECT_FALSE(box.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(&open(), &box);
    const QWidgetList windows = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(windows.begin(), windows.end(),
                            [](QWidget* w) { return qobject_cast<AboutDialog*>(w) && w->isVisible(); }),
              1);
}

TEST_F(AboutBoxTest, EnterAndEscPressOK) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        AboutDialog& box = open();
        const QPointer<AboutDialog> loaded = &box;
        QApplication::setActiveWindow(&box);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
        QPushButton& ok = child<QPushButton>(box, "cmdOK");
        ASSERT_EQ(QApplication::focusWidget(), &ok);
        QSignalSpy pressed(&ok, &QPushButton::clicked);
        QTest::keyClick(&ok, key);
        EXPECT_EQ(pressed.count(), 1);
        EXPECT_EQ(about.current(), nullptr);
        unloadClosedBoxes();
        EXPECT_TRUE(loaded.isNull()) << "closed and unloaded";
    }
}

TEST_F(AboutBoxTest, SystemInfoLeavesTheBoxOpen) {
    AboutDialog& box = open();
    rig.messageBox.setNextAnswer(platform::MessageBox::Answer::Ok);
    child<QPushButton>(box, "cmdSysInfo").click();
    EXPECT_EQ(rig.messageBox.shown().size(), 1u) << "unavailable";
    const QString monitor = rig.monitors.filePath(platform::systemMonitorPrograms().front());
    writeFile(monitor, "#!/bin/sh\n", kExecutable);
    child<QPushButton>(box, "cmdSysInfo").click();
    EXPECT_EQ(rig.launcher.started, std::vector<QString>{monitor});
    EXPECT_EQ(about.current(), &box);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Text Tarvex"));
}

TEST_F(AboutBoxTest, AnOpenBoxKeepsTheProgramRunningUntilItIsClosed) {
    for (const bool byExit : {true, false}) {
        SCOPED_TRACE(byExit ? "Exit answered Yes" : "closed by the title bar");
        QMainWindow mainWindow;
        const std::size_t asked = rig.messageBox.shown().size();
        bool runningWithTheBoxOnly = false;
        EXPECT_TRUE(runUntilTheProgramEnds([&] {
            mainWindow.show();
            AboutDialog& box = open();
            if (byExit) {
                rig.messageBox.setNextAnswer(platform::MessageBox::Answer::Yes);
                exitCommand(mainWindow, rig.messageBox);
            } else {
                mainWindow.close();
            }
            QTimer::singleShot(100, &box, [&] {
                runningWithTheBoxOnly = !mainWindow.isVisible() && box.isVisible();
                child<QPushButton>(box, "cmdOK").click();
            });
        }));
        EXPECT_TRUE(runningWithTheBoxOnly);
        EXPECT_EQ(rig.messageBox.shown().size() - asked, byExit ? 1u : 0u) << "only Exit asks";
        unloadClosedBoxes();
    }
}

} // namespace
} // namespace tarvex::about::test
