// SPDX-License-Identifier: GPL-3.0-or-later

#include "about_test_support.h"

#include <QDir>

#include <gtest/gtest.h>

namespace tarvex::about::test {
namespace {

const QStringList& programs() {
    return platform::systemMonitorPrograms();
}

TEST(FindSystemMonitor, TheFirstInstalledProgramOfTheListWins) {
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_GE(programs().size(), 3);
    // A later program of the list sits in an earlier folder: the list decides.
    // A file that cannot run and a folder of the right name do not count.
    writeFile(first.filePath(programs()[2]), "#!/bin/sh\n", kExecutable);
    writeFile(second.filePath(programs()[1]), "#!/bin/sh\n", kExecutable);
    writeFile(first.filePath(programs()[0]), "not a program");
    ASSERT_TRUE(QDir(second.path()).mkdir(programs()[0]));
    EXPECT_EQ(platform::findSystemMonitor({first.path(), second.path()}), second.filePath(programs()[1]));

    QTemporaryDir empty;
    EXPECT_EQ(platform::findSystemMonitor({empty.path()}), QString());
}

struct StartCase {
    const char* name;
    bool installed;
    bool launcherSucceeds;
    bool failureMessage;
};

TEST(startSystemInformation, StartsTheMonitorOrSaysItIsUnavailable) {
    const StartCase cases[] = {
        {"installed and started", true, true, false},
        {"installed but fails to start", true, false, true},
        {"none installed", false, true, true},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        SysInfoRig rig;
        const QString monitor = rig.monitors.filePath(programs().back());
        if (c.installed) writeFile(monitor, "#!/bin/sh\n", kExecutable);
        rig.launcher.succeeds = c.launcherSucceeds;
        AboutDialog box(rig.services);

        EXPECT_EQ(startSysInfo(box, rig.messageBox), c.failureMessage);
        EXPECT_EQ(rig.launcher.started, c.installed ? std::vector<QString>{monitor} : std::vector<QString>{});
    }
}

} // namespace
} // namespace tarvex::about::test
