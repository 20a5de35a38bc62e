// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "command.h"
#include "command_line.h"

#include "cipher/uniform_source.h"

namespace tarvex::cli {

// tarvex-cli create-key [--force] FILE
class CreateKeyCommand final : public Command {
public:
    CreateKeyCommand(CreateKeyRequest request, cipher::UniformSource& source, cipher::TimeOfDayClock& clock);
    Status run() override;

private:
    CreateKeyRequest request_;
    cipher::UniformSource& source_;
    cipher::TimeOfDayClock& clock_;
};

} // namespace tarvex::cli
