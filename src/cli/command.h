// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"

namespace tarvex::cli {

// One subcommand of tarvex-cli, ready to run.
class Command {
public:
    virtual ~Command() = default;
    virtual Status run() = 0;
};

} // namespace tarvex::cli
