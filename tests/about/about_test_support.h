// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "about/about_box.h"

#include "platform/file_existence.h"
#include "platform/system_monitor.h"
#include "platform/message_box.h"
#include "platform/program_launcher.h"

#include "../support/recording_dialogs.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace tarvex::about::test {

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
class ArmedMessageBox final : public tarvex::test::RecordingMessageBox {
protected:
    Answer runBox(const Request& request, QWidget* parent) override;
};

struct SysInfoRig {
    RecordingLauncher launcher;
    ArmedMessageBox messageBox;
    // The one folder the system monitor is looked for in, empty until a test installs one.
    QTemporaryDir monitors;
    SysInfoServices services{launcher, messageBox, {monitors.path()}};
};

// Runs startSystemInformation with any message answered; true when the failure message
// was shown, which it checks.
bool startSysInfo(AboutDialog& box, ArmedMessageBox& messageBox);

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
