// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "command.h"
#include "command_line.h"
#include "pipeline.h"

#include "seal/sealing_key.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarvex::cli {

// tarvex-cli encrypt|decrypt -k KEYFILE [-e utf-8|cp1252] [-o OUT] [IN]: reads
// the key, then streams the input through the pipeline of the request's
// direction to the output.
class TransformCommand final : public Command {
public:
    explicit TransformCommand(TransformRequest request) : request_(std::move(request)) {}
    Status run() override;

private:
    // `start`: the input's first chunk, which tells a sealed message from a
    // classic one, and either from a text that is neither.
    Result<std::unique_ptr<Pipeline>> makePipeline(std::span<const std::uint8_t> keyNumbers,
                                                   std::optional<seal::SealingKey>& sealingKey,
                                                   const std::string& inputName, std::string_view start) const;

    TransformRequest request_;
};

} // namespace tarvex::cli
