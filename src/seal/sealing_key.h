// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/result.h"
#include "secret/bytes.h"

#include <cstdint>
#include <span>
#include <string>

namespace tarvex::seal {

// The fewest key numbers a created key has.
inline constexpr std::size_t kMinimumSealingKeyNumbers = 438;

// The 32-byte key of the sealed format, derived from a key file's key numbers,
// with the fingerprint of that key for messages. A copy is a copy of the key,
// in guarded memory of its own.
class SealingKey {
public:
    // Refuses a key too short or too weak to seal with; `path` names it.
    static Result<SealingKey> forSealing(std::span<const std::uint8_t> keyNumbers, const std::string& path);
    // Opening accepts every key.
    static SealingKey forOpening(std::span<const std::uint8_t> keyNumbers);

    const std::uint8_t* bytes() const { return key_.data(); }
    const std::string& fingerprint() const { return fingerprint_; }

private:
    explicit SealingKey(std::span<const std::uint8_t> keyNumbers);

    secret::Bytes key_;
    std::string fingerprint_;
};

} // namespace tarvex::seal
