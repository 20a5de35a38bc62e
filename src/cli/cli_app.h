// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <span>
#include <string>

namespace tarvex::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs tarvex-cli with the arguments after the program name; returns the exit
// status. Running out of memory is one more failure, reported on one line.
int runCli(std::span<const std::string> args);
// The same with main's arguments.
int runCli(int argc, char** argv);

} // namespace tarvex::cli
