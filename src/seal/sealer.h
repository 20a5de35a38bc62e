// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sealed_format.h"
#include "sealing_key.h"
#include "token_writer.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex::seal {

// Seals 65,536-byte pieces into chunks in order; the stream state of one message.
class ChunkSealer {
public:
    // Writes the header, kHeaderBytes.
    ChunkSealer(const SealingKey& key, std::uint8_t* header);
    // Writes the chunk of a piece to `chunk` (room for size + kChunkOverhead); returns its size.
    std::size_t seal(const std::uint8_t* piece, std::size_t size, bool last, std::uint8_t* chunk);

private:
    secret::Bytes state_;
};

// The check that ends the binary form, most significant byte first.
void writeCheck(std::uint32_t crc, std::uint8_t* check);

// Payload in, token out, in pieces of any size; one sealer seals one message.
// Each call emits at most once, at its end, and what it emits stays valid
// through the next call: a caller may hold it instead of copying it.
class Sealer {
public:
    explicit Sealer(const SealingKey& key);

    Status push(std::string_view payload, const Emit& emit);
    // The last chunk, the check and the last digits; no line feed.
    Status finish(const Emit& emit);

private:
    void sealPiece(bool last);
    void addBinary(const std::uint8_t* bytes, std::size_t size);

    std::uint8_t header_[kHeaderBytes];
    ChunkSealer chunks_;
    secret::Bytes piece_;
    std::size_t pieceSize_ = 0;
    std::uint8_t chunk_[kFullChunkBytes];
    std::uint32_t crc_ = 0;
    TokenWriter token_;
};

// The token of `payload`, whole.
std::string sealWhole(std::string_view payload, const SealingKey& key);

} // namespace tarvex::seal
