// SPDX-License-Identifier: GPL-3.0-or-later

#include "fingerprint_command.h"

#include "files/file_io.h"
#include "cipher/key_fingerprint.h"

#include <unistd.h>

namespace tarvex::cli {

FingerprintCommand::FingerprintCommand(FingerprintRequest request) : request_(std::move(request)) {}

Status FingerprintCommand::run() {
    Result<std::string> fingerprint = cipher::keyFingerprint(request_.keyFile);
    if (!fingerprint) return fingerprint.error();
    if (int failure = files::writeAll(STDOUT_FILENO, *fingerprint + "\n"); failure != 0) {
        return Error{.kind = Error::Kind::FileWriteFailed, .path = kStandardOutputName, .osError = failure};
    }
    return Done{};
}

} // namespace tarvex::cli
