// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tarvex::platform {

// Starts another program by its path and does not wait for it.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // False when the program could not be started.
    virtual bool start(const QString& program) = 0;
};

// The real one: the program runs detached, in its own windows, and outlives us.
class DetachedProgramLauncher final : public ProgramLauncher {
public:
    bool start(const QString& program) override;
};

} // namespace tarvex::platform
