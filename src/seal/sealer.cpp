// SPDX-License-Identifier: GPL-3.0-or-later
#include "sealer.h"

#include "base58_blocks.h"
#include "crc32.h"

#include <sodium.h>

#include <cstring>

namespace tarvex::seal {
namespace {

crypto_secretstream_xchacha20poly1305_state* stateOf(SecureBytes& bytes) {
    return reinterpret_cast<crypto_secretstream_xchacha20poly1305_state*>(bytes.data());
}

} // namespace

Sealer::Sealer(const SealingKey& key)
    : state_(sizeof(crypto_secretstream_xchacha20poly1305_state)), piece_(kPieceBytes) {
    std::uint8_t header[kHeaderBytes];
    crypto_secretstream_xchacha20poly1305_init_push(stateOf(state_), header, key.bytes());
    text_.reserve(kTokenPrefix.size() + kFullChunkBytes * 11 / 8 + 64);
    text_ = kTokenPrefix;
    addBinary(header, sizeof header);
}

void Sealer::addBinary(const std::uint8_t* bytes, std::size_t size) {
    crc_ = crc32Update(crc_, bytes, size);
    if (carrySize_ > 0) {
        const std::size_t take = std::min(size, base58::kBlockBytes - carrySize_);
        std::memcpy(carry_ + carrySize_, bytes, take);
        carrySize_ += take;
        bytes += take;
        size -= take;
        if (carrySize_ < base58::kBlockBytes) return;
        const std::size_t at = text_.size();
        text_.resize(at + base58::kBlockDigits);
        base58::encodeBlocks(carry_, 1, text_.data() + at);
        carrySize_ = 0;
    }
    const std::size_t blocks = size / base58::kBlockBytes;
    const std::size_t at = text_.size();
    text_.resize(at + blocks * base58::kBlockDigits);
    base58::encodeBlocks(bytes, blocks, text_.data() + at);
    carrySize_ = size % base58::kBlockBytes;
    std::memcpy(carry_, bytes + blocks * base58::kBlockBytes, carrySize_);
}

Status Sealer::sealPiece(bool last, const Emit& emit) {
    unsigned long long chunkSize = 0;
    crypto_secretstream_xchacha20poly1305_push(stateOf(state_), chunk_, &chunkSize, piece_.data(), pieceSize_,
                                               nullptr, 0,
                                               last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
                                                    : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
    pieceSize_ = 0;
    addBinary(chunk_, static_cast<std::size_t>(chunkSize));
    if (last) return Done{};
    Status sent = emit(text_);
    text_.clear();
    return sent;
}

Status Sealer::push(std::string_view payload, const Emit& emit) {
    while (!payload.empty()) {
        // A full piece is sealed only once more follows: the last one carries the final tag.
        if (pieceSize_ == kPieceBytes) {
            if (Status sealed = sealPiece(false, emit); !sealed) return sealed;
        }
        const std::size_t take = std::min(payload.size(), kPieceBytes - pieceSize_);
        std::memcpy(piece_.data() + pieceSize_, payload.data(), take);
        pieceSize_ += take;
        payload.remove_prefix(take);
    }
    return Done{};
}

Status Sealer::finish(const Emit& emit) {
    if (Status sealed = sealPiece(true, emit); !sealed) return sealed;
    const std::uint32_t crc = crc_;
    const std::uint8_t check[kCheckBytes] = {static_cast<std::uint8_t>(crc >> 24), static_cast<std::uint8_t>(crc >> 16),
                                             static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc)};
    addBinary(check, sizeof check);
    const std::size_t at = text_.size();
    text_.resize(at + base58::digitsForBytes(carrySize_));
    base58::encodeLastBlock(carry_, carrySize_, text_.data() + at);
    carrySize_ = 0;
    Status sent = emit(text_);
    text_.clear();
    return sent;
}

std::string sealWhole(std::string_view payload, const SealingKey& key) {
    std::string token;
    const Emit append = [&](std::string_view text) -> Status {
        token.append(text);
        return Done{};
    };
    Sealer sealer(key);
    // Appending cannot fail.
    (void)sealer.push(payload, append);
    (void)sealer.finish(append);
    return token;
}

} // namespace tarvex::seal
