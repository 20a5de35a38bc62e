// SPDX-License-Identifier: GPL-3.0-or-later
#include "sealed_pipelines.h"

namespace tarvex::cli {
namespace {

template <class Text>
seal::Emit appendingTo(Text& out) {
    return [&out](std::string_view bytes) -> Status {
        out.append(bytes);
        return Done{};
    };
}

} // namespace

SealPipeline::SealPipeline(const seal::SealingKey& key)
    : sealer_(key),
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

OpenPipeline::OpenPipeline(const seal::SealingKey& key)
    : opener_(key), emit_(appendingTo(out_)), emitEnd_(appendingTo(end_)) {}

Result<std::string_view> OpenPipeline::transform(std::string_view chunk) {
    out_.clear();
    if (Status opened = opener_.push(chunk, emit_); !opened) return opened.error();
    return std::string_view(out_);
}

Result<std::string_view> OpenPipeline::conclude() {
    if (Status opened = opener_.finish(emitEnd_); !opened) return opened.error();
    return std::string_view(end_);
}

} // namespace tarvex::cli
