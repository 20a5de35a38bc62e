// SPDX-License-Identifier: GPL-3.0-or-later

#include "decrypt_command.h"

#include "decrypt_pipeline.h"

namespace tarvex::cli {

std::unique_ptr<Pipeline> DecryptCommand::makePipeline(std::span<const std::uint8_t> keyNumbers,
                                                       const std::string& inputName) const {
    return std::make_unique<DecryptPipeline>(request().encoding, keyNumbers, inputName);
}

} // namespace tarvex::cli
