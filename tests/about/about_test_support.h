// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "about/about_box.h"

#include "platform/file_existence.h"
#include "platform/message_box.h"
#include "platform/program_launcher.h"
#include "platform/registry.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace tarvex::about::test {

// A registry in memory that answers as the system's does: write rights refused
// on a read-only key, kMoreData for a value larger than the buffer. It records
// which keys were asked for and which are open.
class MemoryRegistry final : public platform::Registry {
public:
    struct Key {
        bool readOnly = false;
        std::map<std::string, std::pair<std::uint32_t, std::string>> values;
    };
    std::map<std::string, Key> keys;
    std::vector<std::string> asked;
    std::map<Handle, std::string> open;
    int badCloses = 0;

    void setString(const std::string& key, const std::string& name, const std::string& text) {
        keys[key].values[name] = {kString, text + '\0'};
    }
    Status openKey(Handle root, const std::string& subKey, std::uint32_t, std::uint32_t access,
                   Handle& opened) override;
    Status queryValue(Handle key, const std::string& valueName, std::uint32_t& type, std::span<std::uint8_t> data,
                      std::uint32_t& count) override;
    Status closeKey(Handle key) override;
};

// Records each program it is asked to start instead of starting it.
class RecordingLauncher final : public platform::ProgramLauncher {
public:
    bool succeeds = true;
    std::vector<QString> started;
    bool start(const QString& program) override {
        started.push_back(program);
        return succeeds;
    }
};

// Fails the test instead of blocking when a box opens without an answer given.
class ArmedMessageBox final : public platform::MessageBox {
protected:
    Answer runBox(const Request& request, QWidget* parent) override;
};

struct SysInfoRig {
    MemoryRegistry registry;
    platform::LocalFileExistence files;
    RecordingLauncher launcher;
    ArmedMessageBox messageBox;
    SysInfoServices services{registry, files, launcher, messageBox};
};

inline const std::string kLocation1 = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline const std::string kLocation2 = "SOFTWARE\\Microsoft\\Shared Tools Location";

// Runs StartSysInfo with any message answered; true when the failure message
// was shown, which it checks.
bool startSysInfo(frmAbout& box, ArmedMessageBox& messageBox);

void writeFile(const QString& path, const QByteArray& bytes, QFile::Permissions mode = QFile::ReadOwner);
inline constexpr QFile::Permissions kExecutable = QFile::ReadOwner | QFile::ExeOwner;
// A program that leaves a mark, with no outside command: PATH may hold nothing else.
inline QByteArray markingScript(const QString& mark) {
    return "#!/bin/sh\n: > '" + mark.toLocal8Bit() + "'\n";
}
bool waitForFile(const QString& path);

// Sets PATH for as long as it lives.
class ScopedPath {
public:
    explicit ScopedPath(const QString& path);
    ~ScopedPath();

private:
    QByteArray saved_;
};

// Runs `steps` in the event loop; true when the program then ended by itself within five seconds.
bool runUntilTheProgramEnds(const std::function<void()>& steps);

} // namespace tarvex::about::test

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline std::ostream& operator<<(std::ostream& out, const QString& text) {
    return out << text.toStdString();
}
QT_END_NAMESPACE
