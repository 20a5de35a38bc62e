// SPDX-License-Identifier: GPL-3.0-or-later

#include "about_test_support.h"

#include "platform/system_monitor.h"

#include <QDir>

#include <gtest/gtest.h>

namespace tarvex::about::test {
namespace {

const QStringList& programs() {
    return platform::systemMonitorPrograms();
}

// Without folders of its own the About box looks along PATH, at every press.
TEST(SystemMonitor, TheButtonStartsTheFirstInstalledProgramOnPath) {
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_GE(programs().size(), 3);
    writeFile(first.filePath(programs()[2]), "#!/bin/sh\n", kExecutable);
    writeFile(first.filePath(programs()[0]), "not a program");
    const ScopedPath path(first.path() + ':' + second.path());

    RecordingLauncher launcher;
    ArmedMessageBox messageBox;
    AboutDialog box(SysInfoServices{launcher, messageBox});
    EXPECT_FALSE(startSysInfo(box, messageBox));
    writeFile(second.filePath(programs()[1]), "#!/bin/sh\n", kExecutable); // installed meanwhile
    EXPECT_FALSE(startSysInfo(box, messageBox));
    EXPECT_EQ(launcher.started,
              (std::vector<QString>{first.filePath(programs()[2]), second.filePath(programs()[1])}));
}

TEST(SystemMonitor, WithNoProgramInstalledTheButtonSaysSo) {
    QTemporaryDir empty;
    const ScopedPath path(empty.path());
    RecordingLauncher launcher;
    ArmedMessageBox messageBox;
    AboutDialog box(SysInfoServices{launcher, messageBox});
    EXPECT_TRUE(startSysInfo(box, messageBox));
    EXPECT_TRUE(launcher.started.empty());
}

TEST(SystemMonitor, TheButtonStartsTheProgramDetached) {
    QTemporaryDir bin;
    const QString mark = bin.filePath(QStringLiteral("started"));
    writeFile(bin.filePath(programs().front()), markingScript(mark), kExecutable);
    platform::DetachedProgramLauncher launcher;
    ArmedMessageBox messageBox;
    AboutDialog box(SysInfoServices{launcher, messageBox, {bin.path()}});
    EXPECT_FALSE(startSysInfo(box, messageBox));
    EXPECT_TRUE(waitForFile(mark));
}

TEST(DetachedProgramLauncher, StartsOnlyWhatCanRun) {
    QTemporaryDir dir;
    const QString mark = dir.filePath(QStringLiteral("mark"));
    writeFile(dir.filePath(QStringLiteral("program")), markingScript(mark), kExecutable);
    writeFile(dir.filePath(QStringLiteral("text")), markingScript(mark));
    platform::DetachedProgramLauncher launcher;
    for (const QString& path : {QString(), dir.filePath(QStringLiteral("missing")), dir.path(),
                                dir.filePath(QStringLiteral("text"))}) {
        EXPECT_FALSE(launcher.start(path)) << path;
    }
    EXPECT_TRUE(launcher.start(dir.filePath(QStringLiteral("program"))));
    EXPECT_TRUE(waitForFile(mark));
}

TEST(LocalFileExistence, OnlyOrdinaryVisibleFilesCount) {
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("MSINFO32.EXE")), "x");
    writeFile(dir.filePath(QStringLiteral(".hidden")), "x");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("MSINFO32.EXE")), dir.filePath(QStringLiteral("link"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("dangling"))));
    platform::LocalFileExistence files;
    for (const auto& [name, exists] : std::vector<std::pair<const char*, bool>>{
             {"MSINFO32.EXE", true}, {"link", true}, {".hidden", false}, {"folder", false}, {"missing", false},
             {"dangling", false}}) {
        EXPECT_EQ(files.exists(dir.filePath(QString::fromLatin1(name))), exists) << name;
    }
    EXPECT_FALSE(files.exists(QString()));
}

} // namespace
} // namespace tarvex::about::test
