#pragma once

#include <span>
#include <string>

namespace tarvex::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs tarvex-cli with the arguments after the program name; returns the exit status.
int runCli(std::span<const std::string> args);

} // namespace tarvex::cli
