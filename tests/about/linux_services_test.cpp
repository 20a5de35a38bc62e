// SPDX-License-Identifier: GPL-3.0-or-later

#include "about_test_support.h"

#include "platform/linux_registry.h"

#include <QDir>

#include <gtest/gtest.h>

namespace tarvex::about::test {
namespace {

const QStringList& programs() {
    return platform::LinuxRegistry::systemInformationPrograms();
}

TEST(LinuxRegistry, Location1HoldsTheFirstInstalledProgramOfItsList) {
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_GE(programs().size(), 3);
    // A later program of the list sits earlier on PATH: the list decides. A file that cannot run does not count.
    writeFile(first.filePath(programs()[2]), "#!/bin/sh\n", kExecutable);
    writeFile(second.filePath(programs()[1]), "#!/bin/sh\n", kExecutable);
    writeFile(first.filePath(programs()[0]), "not a program");
    const ScopedPath path(first.path() + ':' + second.path());

    SysInfoRig rig;
    platform::LinuxRegistry adapter;
    frmAbout box(SysInfoServices{adapter, rig.files, rig.launcher, rig.messageBox});
    std::string value;
    EXPECT_TRUE(box.GetKeyValue(frmAbout::HKEY_LOCAL_MACHINE, kLocation1, "PATH", value));
    EXPECT_EQ(QString::fromLocal8Bit(value), second.filePath(programs()[1]));
    EXPECT_FALSE(box.GetKeyValue(frmAbout::HKEY_LOCAL_MACHINE, kLocation2, "MSINFO", value)) << "nothing at location 2";

    EXPECT_FALSE(startSysInfo(box, rig.messageBox));
    EXPECT_EQ(rig.launcher.started, std::vector<QString>{second.filePath(programs()[1])});
}

TEST(LinuxRegistry, WithNoProgramInstalledTheButtonSaysSo) {
    QTemporaryDir empty;
    const ScopedPath path(empty.path());
    SysInfoRig rig;
    platform::LinuxRegistry adapter;
    frmAbout box(SysInfoServices{adapter, rig.files, rig.launcher, rig.messageBox});
    EXPECT_TRUE(startSysInfo(box, rig.messageBox));
    EXPECT_TRUE(rig.launcher.started.empty());
}

TEST(LinuxRegistry, TheButtonStartsTheProgramDetached) {
    QTemporaryDir bin;
    const QString mark = bin.filePath(QStringLiteral("started"));
    writeFile(bin.filePath(programs().front()), markingScript(mark), kExecutable);
    const ScopedPath path(bin.path());
    platform::LinuxRegistry adapter;
    platform::LocalFileExistence files;
    platform::DetachedProgramLauncher launcher;
    ArmedMessageBox messageBox;
    frmAbout box(SysInfoServices{adapter, files, launcher, messageBox});
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
