// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

namespace tarvex::test {

struct ProcessResult {
    int exitCode = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

struct ProcessOptions {
    std::string input;           // fed on standard input
    std::string workingDirectory; // empty: the test's own
    std::string stdoutPath;      // empty: captured into `out`
    bool closeStdout = false;    // standard output is a pipe whose reader has gone
};

// Runs `program` with `args` and waits for it.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options = {});

} // namespace tarvex::test
