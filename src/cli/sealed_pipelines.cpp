// SPDX-License-Identifier: GPL-3.0-or-later
#include "sealed_pipelines.h"

#include <sodium.h>

namespace tarvex::cli {
namespace {

seal::Emit appendingTo(std::string& out) {
    return [&out](std::string_view bytes) -> Status {
        out.append(bytes);
        return Done{};
    };
}

} // namespace

SealPipeline::SealPipeline(seal::SealingKey key)
    : key_(std::move(key)), sealer_(key_),
      emit_([this](std::string_view text) -> Status {
          out_ = text;
          return Done{};
      }),
      emitEnd_(appendingTo(end_)) {}

Result<std::string_view> SealPipeline::transform(std::string_view chunk) {
    out_ = {};
    if (Status sealed = sealer_.push(chunk, emit_); !sealed) return sealed.error();
    return out_;
}

Result<std::string_view> SealPipeline::conclude() {
    if (Status sealed = sealer_.finish(emitEnd_); !sealed) return sealed.error();
    end_ += '\n';
    return std::string_view(end_);
}

OpenPipeline::OpenPipeline(seal::SealingKey key, std::string inputName)
    : key_(std::move(key)), opener_(key_), inputName_(std::move(inputName)), emit_(appendingTo(out_)),
      emitEnd_(appendingTo(end_)) {}

OpenPipeline::~OpenPipeline() {
    // The message.
    sodium_memzero(out_.data(), out_.size());
    sodium_memzero(end_.data(), end_.size());
}

Result<std::string_view> OpenPipeline::transform(std::string_view chunk) {
    sodium_memzero(out_.data(), out_.size());
    out_.clear();
    if (Status opened = opener_.push(chunk, emit_); !opened) return opened.error();
    return std::string_view(out_);
}

Result<std::string_view> OpenPipeline::conclude() {
    if (Status opened = opener_.finish(emitEnd_); !opened) return opened.error();
    return std::string_view(end_);
}

} // namespace tarvex::cli
