// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli_app.h"

#include "agree_command.h"
#include "create_key_command.h"
#include "fingerprint_command.h"
#include "transform_command.h"

#include "files/file_io.h"
#include "messages/cli_messages.h"
#include "cipher/secure_uniform_source.h"

#include <memory>
#include <new>
#include <vector>
#include <unistd.h>

namespace tarvex::cli {
namespace {

void printTo(int fd, std::string_view text) {
    (void)files::writeAll(fd, text);
}

int outOfMemory() {
    printTo(STDERR_FILENO, messages::cliOutOfMemory());
    return kExitFailure;
}

int runCommand(Command& command) {
    Status status = command.run();
    if (status) return kExitSuccess;
    printTo(STDERR_FILENO, messages::cliErrorLine(status.error()));
    return kExitFailure;
}

} // namespace

int runCli(int argc, char** argv) {
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        return runCli(args);
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
}

int runCli(std::span<const std::string> args) try {
    Request request = parseCommandLine(args);
    if (auto* usage = std::get_if<UsageError>(&request)) {
        printTo(STDERR_FILENO, messages::cliUsageErrorLine(usage->message));
        return kExitUsage;
    }
    if (std::holds_alternative<HelpRequest>(request)) {
        printTo(STDOUT_FILENO, messages::cliHelp());
        return kExitSuccess;
    }
    if (std::holds_alternative<VersionRequest>(request)) {
        printTo(STDOUT_FILENO, messages::cliVersion(TARVEX_VERSION));
        return kExitSuccess;
    }
    if (auto* createKey = std::get_if<CreateKeyRequest>(&request)) {
        cipher::SecureUniformSource source;
        cipher::SystemTimeOfDayClock clock;
        CreateKeyCommand command(*createKey, source, clock);
        return runCommand(command);
    }
    if (auto* agree = std::get_if<AgreeRequest>(&request)) {
        AgreeCommand command(*agree, STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO);
        return runCommand(command);
    }
    if (auto* fingerprint = std::get_if<FingerprintRequest>(&request)) {
        FingerprintCommand command(*fingerprint);
        return runCommand(command);
    }
    TransformCommand command(std::get<TransformRequest>(request));
    return runCommand(command);
} catch (const std::bad_alloc&) {
    // Everything the command held, a temporary file included, is gone by now.
    return outOfMemory();
}

} // namespace tarvex::cli
