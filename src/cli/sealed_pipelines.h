// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pipeline.h"

#include "seal/opener.h"
#include "seal/sealer.h"

#include <cstdint>
#include <span>
#include <string>

#include "secret/string.h"

namespace tarvex::cli {

// The input's bytes as they are in, one token line and a line feed out.
class SealPipeline final : public Pipeline {
public:
    explicit SealPipeline(const seal::SealingKey& key);
    Result<std::string_view> transform(std::string_view chunk) override;
    Result<std::string_view> conclude() override;

private:
    seal::Sealer sealer_;
    // What transform() gives stays the sealer's own, valid through the next
    // call, conclude() included: the caller may hold both before it writes either.
    std::string_view out_;
    std::string end_;
    seal::Emit emit_, emitEnd_;
};

// A token in, its payload out; only authenticated pieces come out.
class OpenPipeline final : public Pipeline {
public:
    explicit OpenPipeline(const seal::SealingKey& key);
    Result<std::string_view> transform(std::string_view chunk) override;
    Result<std::string_view> conclude() override;

private:
    seal::Opener opener_;
    // What transform() gives and what conclude() gives live apart: the caller
    // may hold both before it writes either.
    secret::String out_, end_;
    seal::Emit emit_, emitEnd_;
};

} // namespace tarvex::cli
