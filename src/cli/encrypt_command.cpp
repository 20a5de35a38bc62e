// SPDX-License-Identifier: GPL-3.0-or-later

#include "encrypt_command.h"

#include "encrypt_pipeline.h"

namespace tarvex::cli {

std::unique_ptr<Pipeline> EncryptCommand::makePipeline(std::span<const std::uint8_t> keyNumbers,
                                                       const std::string&) const {
    return std::make_unique<EncryptPipeline>(request().encoding, keyNumbers);
}

} // namespace tarvex::cli
