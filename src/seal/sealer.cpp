// SPDX-License-Identifier: GPL-3.0-or-later
#include "sealer.h"

#include "crc32.h"
#include "token_length.h"

#include <sodium.h>

#include <cstring>

namespace tarvex::seal {
namespace {

crypto_secretstream_xchacha20poly1305_state* stateOf(secret::Bytes& bytes) {
    return reinterpret_cast<crypto_secretstream_xchacha20poly1305_state*>(bytes.data());
}

} // namespace

ChunkSealer::ChunkSealer(const SealingKey& key, std::uint8_t* header)
    : state_(secret::Bytes::guarded(sizeof(crypto_secretstream_xchacha20poly1305_state))) {
    crypto_secretstream_xchacha20poly1305_init_push(stateOf(state_), header, key.bytes());
}

std::size_t ChunkSealer::seal(const std::uint8_t* piece, std::size_t size, bool last, std::uint8_t* chunk) {
    unsigned long long chunkSize = 0;
    crypto_secretstream_xchacha20poly1305_push(stateOf(state_), chunk, &chunkSize, piece, size, nullptr, 0,
                                               last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL
                                                    : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
    return static_cast<std::size_t>(chunkSize);
}

void writeCheck(std::uint32_t crc, std::uint8_t* check) {
    check[0] = static_cast<std::uint8_t>(crc >> 24);
    check[1] = static_cast<std::uint8_t>(crc >> 16);
    check[2] = static_cast<std::uint8_t>(crc >> 8);
    check[3] = static_cast<std::uint8_t>(crc);
}

Sealer::Sealer(const SealingKey& key) : chunks_(key, header_), piece_(secret::Bytes::guarded(kPieceBytes)) {
    addBinary(header_, sizeof header_);
}

void Sealer::addBinary(const std::uint8_t* bytes, std::size_t size) {
    crc_ = crc32Update(crc_, bytes, size);
    token_.add(bytes, size);
}

void Sealer::sealPiece(bool last) {
    const std::size_t chunkSize = chunks_.seal(piece_.data(), pieceSize_, last, chunk_);
    pieceSize_ = 0;
    addBinary(chunk_, chunkSize);
}

Status Sealer::push(std::string_view payload, const Emit& emit) {
    while (!payload.empty()) {
        // A full piece is sealed only once more follows: the last one carries the final tag.
        if (pieceSize_ == kPieceBytes) sealPiece(false);
        const std::size_t take = std::min(payload.size(), kPieceBytes - pieceSize_);
        std::memcpy(piece_.data() + pieceSize_, payload.data(), take);
        pieceSize_ += take;
        payload.remove_prefix(take);
    }
    const std::string_view text = token_.take();
    return text.empty() ? Status(Done{}) : emit(text);
}

Status Sealer::finish(const Emit& emit) {
    sealPiece(true);
    std::uint8_t check[kCheckBytes];
    writeCheck(crc_, check);
    token_.add(check, sizeof check);
    token_.finish();
    return emit(token_.take());
}

std::string sealWhole(std::string_view payload, const SealingKey& key) {
    std::string token;
    token.reserve(tokenLength(payload.size()));
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
