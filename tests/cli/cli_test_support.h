// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "process_runner.h"

#include <string>
#include <vector>

namespace tarvex::test {

inline ProcessResult runCli(const std::vector<std::string>& args, const ProcessOptions& options = {}) {
    return runProcess(TARVEX_CLI_PATH, args, options);
}

inline ProcessResult runCli(const std::vector<std::string>& args, const std::string& input) {
    ProcessOptions options;
    options.input = input;
    return runCli(args, options);
}

} // namespace tarvex::test
