// SPDX-License-Identifier: GPL-3.0-or-later

#include "about_test_support.h"

#include <QDir>

#include <gtest/gtest.h>

#include <optional>

namespace tarvex::about::test {
namespace {

using platform::Registry;

struct ValueCase {
    const char* name;
    std::uint32_t type;
    std::string stored; // at location 1, value "PATH"
    std::string onEntry;
    bool read;
    std::string result;
    const char* storedAs = "PATH";
    bool readOnly = false;
};

TEST(GetKeyValue, EveryWayAValueCanBeStored) {
    const std::string path = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
    const std::string over(1024, 'x');
    const std::vector<ValueCase> cases = {
        {"string with its terminating zero", Registry::kString, path + '\0', "", true, path},
        {"string without it", Registry::kString, path, "", true, path},
        {"only one zero is cut", Registry::kString, std::string("ab\0\0", 4), "", true, std::string("ab\0", 3)},
        {"string of no bytes", Registry::kString, "", "was there", true, ""},
        {"number, last byte first", Registry::kNumber, "\x78\x56\x34\x12", "", true, "&h12345678"},
        {"number with a zero high byte", Registry::kNumber, std::string("\x02\x01\0\0", 4), "", true, "&h012"},
        {"number after the text on entry", Registry::kNumber, "\x0D\x0C\x0B\x0A", "7", true, "&h7ABCD"},
        {"another type keeps the text on entry", 3, "\x01\x02", "kept", true, "kept"},
        {"exactly 1024 bytes", Registry::kString, over, "", true, over},
        {"over 1024 bytes", Registry::kString, over + '\0', "was there", false, ""},
        {"no such value", Registry::kString, path, "was there", false, "", "OTHER"},
        {"no such key", Registry::kString, path, "was there", false, "", nullptr},
        {"key that refuses write rights", Registry::kString, path, "was there", false, "", "PATH", true},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.name);
        SysInfoRig rig;
        if (c.storedAs != nullptr) {
            rig.registry.keys[kLocation1].values[c.storedAs] = {c.type, c.stored};
            rig.registry.keys[kLocation1].readOnly = c.readOnly;
        }
        frmAbout box(rig.services);
        std::string value = c.onEntry;
        EXPECT_EQ(box.GetKeyValue(frmAbout::HKEY_LOCAL_MACHINE, kLocation1, "PATH", value), c.read);
        EXPECT_EQ(value, c.result);
        EXPECT_TRUE(rig.registry.open.empty()) << "the key is closed whatever happens";
        EXPECT_EQ(rig.registry.badCloses, 0) << "and only a key that was opened";
    }
}

struct StartCase {
    const char* name;
    std::optional<std::pair<std::uint32_t, std::string>> at1;
    const char* folderAt2; // under the test's folder; null: nothing at location 2
    const char* started;   // null: nothing; a path, under the test's folder unless it begins "C:"
    bool failureMessage;
    bool location2Read;
    bool readOnly1 = false;
    bool launcherSucceeds = true;
};

TEST(StartSysInfo, FindsTheProgramOrSaysItIsUnavailable) {
    const std::pair<std::uint32_t, std::string> wrong{Registry::kString, "C:\\nowhere\\msinfo32.exe"};
    const std::pair<std::uint32_t, std::string> binary{3, "\x01"};
    const StartCase cases[] = {
        {"location 1 wins even when wrong", wrong, "tools", "C:\\nowhere\\msinfo32.exe", false, false},
        {"a path from location 1 that fails to start", wrong, "tools", "C:\\nowhere\\msinfo32.exe", true, false,
         false, false},
        {"location 1 of another type gives an empty path", binary, "tools", nullptr, true, false},
        {"location 2 with MSINFO32.EXE", std::nullopt, "tools", "tools\\MSINFO32.EXE", false, true},
        {"location 2 without MSINFO32.EXE", std::nullopt, "empty", nullptr, true, true},
        {"location 2 where MSINFO32.EXE is a folder", std::nullopt, "folder", nullptr, true, true},
        {"location 1 refusing write rights", wrong, "tools", "tools\\MSINFO32.EXE", false, true, true},
        {"neither location", std::nullopt, nullptr, nullptr, true, true},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        // The registry's folder gets the name with a backslash, as on the system it was made for.
        writeFile(dir.filePath(QStringLiteral("tools\\MSINFO32.EXE")), "#!/bin/sh\n", kExecutable);
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("folder\\MSINFO32.EXE")));
        SysInfoRig rig;
        if (c.at1) rig.registry.keys[kLocation1] = {c.readOnly1, {{"PATH", *c.at1}}};
        if (c.folderAt2) rig.registry.setString(kLocation2, "MSINFO", dir.filePath(c.folderAt2).toStdString());
        rig.launcher.succeeds = c.launcherSucceeds;
        frmAbout box(rig.services);

        EXPECT_EQ(startSysInfo(box, rig.messageBox), c.failureMessage);
        std::vector<QString> expected;
        if (c.started != nullptr) {
            const QString path = QString::fromLatin1(c.started);
            expected.push_back(path.startsWith(QLatin1String("C:")) ? path : dir.filePath(path));
        }
        EXPECT_EQ(rig.launcher.started, expected);
        const auto& asked = rig.registry.asked;
        EXPECT_EQ(std::count(asked.begin(), asked.end(), kLocation2), c.location2Read ? 1 : 0);
        EXPECT_TRUE(rig.registry.open.empty());
    }
}

} // namespace
} // namespace tarvex::about::test
