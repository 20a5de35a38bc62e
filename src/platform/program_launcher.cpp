// SPDX-License-Identifier: GPL-3.0-or-later

#include "program_launcher.h"

#include <QProcess>

namespace tarvex::platform {

bool DetachedProgramLauncher::start(const QString& program) {
    if (program.isEmpty()) return false;
    // The path is the program itself, never a command line to split.
    return QProcess::startDetached(program, {});
}

} // namespace tarvex::platform
