// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "command.h"
#include "command_line.h"
#include "pipeline.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace tarvex::cli {

// Reads the key, then streams the input through a pipeline to the output.
class TransformCommand : public Command {
public:
    explicit TransformCommand(TransformRequest request) : request_(std::move(request)) {}
    Status run() override;

protected:
    const TransformRequest& request() const { return request_; }
    virtual std::unique_ptr<Pipeline> makePipeline(std::span<const std::uint8_t> keyNumbers,
                                                   const std::string& inputName) const = 0;

private:
    TransformRequest request_;
};

} // namespace tarvex::cli
