// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <span>
#include <string>
#include <variant>

namespace tarvex::cli {

enum class Encoding { Utf8, Cp1252 };

struct CreateKeyRequest {
    std::string keyFile;
    bool force = false;
};

struct TransformRequest {
    bool encrypt = true;
    std::string keyFile;
    Encoding encoding = Encoding::Utf8;
    std::optional<std::string> output; // absent (or "-" given): standard output
    std::optional<std::string> input;  // absent: standard input
    bool sealed = false;
};

struct FingerprintRequest {
    std::string keyFile;
};

// invite or answer: one side of a key agreement.
struct AgreeRequest {
    bool invite = true; // false: answer
    std::string keyFile;
    bool force = false;
    bool noCompare = false;
};

struct HelpRequest {};
struct VersionRequest {};
struct UsageError {
    std::string message;
};

using Request = std::variant<CreateKeyRequest, TransformRequest, FingerprintRequest, AgreeRequest, HelpRequest,
                             VersionRequest, UsageError>;

// Reads the arguments after the program name.
Request parseCommandLine(std::span<const std::string> args);

} // namespace tarvex::cli
