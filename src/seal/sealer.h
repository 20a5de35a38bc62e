// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sealed_format.h"
#include "sealing_key.h"
#include "secure_bytes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex::seal {

// Payload in, token out, in pieces of any size; one sealer seals one message.
class Sealer {
public:
    explicit Sealer(const SealingKey& key);

    Status push(std::string_view payload, const Emit& emit);
    // The last chunk, the check and the last digits; no line feed.
    Status finish(const Emit& emit);

private:
    Status sealPiece(bool last, const Emit& emit);
    // Adds binary-form bytes; whole blocks become digits in text_.
    void addBinary(const std::uint8_t* bytes, std::size_t size);

    SecureBytes state_;
    SecureBytes piece_;
    std::size_t pieceSize_ = 0;
    std::uint8_t chunk_[kFullChunkBytes];
    std::uint8_t carry_[8];
    std::size_t carrySize_ = 0;
    std::uint32_t crc_ = 0;
    std::string text_;
};

// The token of `payload`, whole.
std::string sealWhole(std::string_view payload, const SealingKey& key);

} // namespace tarvex::seal
