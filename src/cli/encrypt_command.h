// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "transform_command.h"

namespace tarvex::cli {

// tarvex-cli encrypt -k KEYFILE [-e utf-8|cp1252] [-o OUT] [IN]
class EncryptCommand final : public TransformCommand {
public:
    using TransformCommand::TransformCommand;

protected:
    std::unique_ptr<Pipeline> makePipeline(std::span<const std::uint8_t> keyNumbers,
                                           const std::string& inputName) const override;
};

} // namespace tarvex::cli
