// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "command.h"
#include "command_line.h"

namespace tarvex::cli {

// tarvex-cli fingerprint -k KEYFILE: prints the key's fingerprint on one line.
class FingerprintCommand final : public Command {
public:
    explicit FingerprintCommand(FingerprintRequest request);
    Status run() override;

private:
    FingerprintRequest request_;
};

} // namespace tarvex::cli
