// SPDX-License-Identifier: GPL-3.0-or-later
#include "opener.h"

#include "base58_blocks.h"
#include "crc32.h"
#include "token_characters.h"
#include "text/charset.h"

#include <sodium.h>

#include <algorithm>
#include <cstring>

namespace tarvex::seal {
namespace {

crypto_secretstream_xchacha20poly1305_state* stateOf(secret::Bytes& bytes) {
    return reinterpret_cast<crypto_secretstream_xchacha20poly1305_state*>(bytes.data());
}

} // namespace

Opener::Opener(const SealingKey& key)
    : key_(key), state_(secret::Bytes::guarded(sizeof(crypto_secretstream_xchacha20poly1305_state))),
      piece_(secret::Bytes::guarded(kPieceBytes)) {}

Status Opener::push(std::string_view text, const Emit& emit) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (pendingSize_ == 0 && prefixMatched_ == kTokenPrefix.size() && groupSize_ == 0) {
            // The common run: whole groups of base58 digits, one byte each,
            // read straight into the binary form as far as it has room.
            bool took = false;
            while (text.size() - i >= base58::kBlockDigits) {
                const std::size_t room = (sizeof binary_ - binarySize_) / base58::kBlockBytes;
                const std::size_t want = std::min((text.size() - i) / base58::kBlockDigits, room);
                if (want == 0) break; // settle() always leaves room; never spin
                const std::size_t got = base58::decodeBlocks(text.data() + i, want, binary_ + binarySize_);
                binarySize_ += got * base58::kBlockBytes;
                binaryTotal_ += got * base58::kBlockBytes;
                characters_ += got * base58::kBlockDigits;
                i += got * base58::kBlockDigits;
                if (got > 0) {
                    took = true;
                    if (Status settled = settle(emit); !settled) return settled;
                }
                // What stopped it is read one character at a time below, which names it.
                if (got < want) break;
            }
            if (took) continue;
        }
        if (pendingSize_ == 0 && prefixMatched_ == kTokenPrefix.size()) {
            // Base58 digits one at a time, around white space and line breaks.
            const int value = base58::digitValue(static_cast<unsigned char>(text[i]));
            if (value >= 0) {
                ++characters_;
                if (groupSize_ == 0) {
                    groupStart_ = characters_;
                    groupFirst_ = static_cast<unsigned char>(text[i]);
                }
                ++i;
                if (Status taken = takeDigit(value, emit); !taken) return taken;
                continue;
            }
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        if (pendingSize_ == 0 && byte < 0x80) {
            ++characters_;
            ++i;
            if (Status taken = takeCharacter(byte, emit); !taken) return taken;
            continue;
        }
        if (pendingSize_ == 0) {
            ++characters_;
            if (text::charset::utf8SequenceLength(byte) == 0) return wrongCharacter(byte);
        }
        pendingUtf8_[pendingSize_++] = text[i++];
        const std::size_t need = text::charset::utf8SequenceLength(static_cast<unsigned char>(pendingUtf8_[0]));
        if (pendingSize_ < need) {
            if ((static_cast<unsigned char>(pendingUtf8_[pendingSize_ - 1]) & 0xC0) != 0x80 && pendingSize_ > 1)
                return wrongCharacter(static_cast<unsigned char>(pendingUtf8_[0]));
            continue;
        }
        const std::optional<char32_t> ch =
            text::charset::decodeUtf8Sequence(reinterpret_cast<const unsigned char*>(pendingUtf8_), need);
        pendingSize_ = 0;
        if (!ch) return wrongCharacter(static_cast<unsigned char>(pendingUtf8_[0]));
        if (Status taken = takeCharacter(*ch, emit); !taken) return taken;
    }
    return Done{};
}

Status Opener::takeCharacter(char32_t ch, const Emit& emit) {
    if (isDroppedFromToken(ch)) return Done{};
    if (prefixMatched_ < kTokenPrefix.size()) {
        if (prefixMatched_ == kTokenPrefix.size() - 1 && ch >= '0' && ch <= '9' && ch != '1')
            return Error{.kind = Error::Kind::SealedNewerVersion};
        if (ch != static_cast<unsigned char>(kTokenPrefix[prefixMatched_]))
            return Error{.kind = Error::Kind::NotSealed};
        ++prefixMatched_;
        return Done{};
    }
    const int value = ch < 0x80 ? base58::digitValue(static_cast<unsigned char>(ch)) : -1;
    if (value < 0) return wrongCharacter(ch);
    if (groupSize_ == 0) {
        groupStart_ = characters_;
        groupFirst_ = ch;
    }
    return takeDigit(value, emit);
}

Status Opener::takeDigit(int value, const Emit& emit) {
    group_[groupSize_++] = static_cast<std::uint8_t>(value);
    if (groupSize_ < base58::kBlockDigits) return Done{};
    return completeGroup(groupSize_, emit);
}

Status Opener::completeGroup(std::size_t digits, const Emit& emit) {
    std::uint8_t bytes[base58::kBlockBytes];
    const std::size_t count = *base58::bytesForDigits(digits);
    groupSize_ = 0;
    if (!base58::decodeGroup(group_, digits, bytes))
        return Error{.kind = Error::Kind::SealedDamaged, .position = groupStart_, .code = groupFirst_};
    return takeBinary(bytes, count, emit);
}

Status Opener::takeBinary(const std::uint8_t* bytes, std::size_t size, const Emit& emit) {
    std::memcpy(binary_ + binarySize_, bytes, size);
    binarySize_ += size;
    binaryTotal_ += size;
    return settle(emit);
}

Status Opener::settle(const Emit& emit) {
    if (!headerRead_ && binarySize_ >= kHeaderBytes + kCheckBytes + 1) {
        crc_ = crc32Update(crc_, binary_, kHeaderBytes);
        crypto_secretstream_xchacha20poly1305_init_pull(stateOf(state_), binary_, key_.bytes());
        headerRead_ = true;
        binarySize_ -= kHeaderBytes;
        std::memmove(binary_, binary_ + kHeaderBytes, binarySize_);
    }
    // More than a full chunk and the check: the full chunk is not the last.
    if (headerRead_ && binarySize_ > kFullChunkBytes + kCheckBytes) {
        if (Status pulled = pullChunk(kFullChunkBytes, false, emit); !pulled) return pulled;
        binarySize_ -= kFullChunkBytes;
        std::memmove(binary_, binary_ + kFullChunkBytes, binarySize_);
    }
    return Done{};
}

Status Opener::pullChunk(std::size_t size, bool last, const Emit& emit) {
    crc_ = crc32Update(crc_, binary_, size);
    const bool first = chunksPulled_++ == 0;
    // After a failing first chunk only the check can still tell damage from another key.
    if (firstChunkFailed_) return Done{};
    unsigned long long pieceSize = 0;
    unsigned char tag = 0;
    if (crypto_secretstream_xchacha20poly1305_pull(stateOf(state_), piece_.data(), &pieceSize, &tag, binary_, size,
                                                   nullptr, 0) != 0) {
        if (!first) return damaged();
        firstChunkFailed_ = true;
        return Done{};
    }
    const bool final = tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL;
    if (final != last) return damaged();
    return emit(std::string_view(reinterpret_cast<const char*>(piece_.data()), static_cast<std::size_t>(pieceSize)));
}

Status Opener::finish(const Emit& emit) {
    if (pendingSize_ > 0) return wrongCharacter(static_cast<unsigned char>(pendingUtf8_[0]));
    if (prefixMatched_ < kTokenPrefix.size()) return Error{.kind = Error::Kind::NotSealed};
    if (groupSize_ > 0) {
        if (!base58::bytesForDigits(groupSize_))
            return Error{.kind = Error::Kind::SealedDamaged, .position = groupStart_, .code = groupFirst_};
        if (Status completed = completeGroup(groupSize_, emit); !completed) return completed;
    }
    if (binaryTotal_ < kSmallestBinary || !headerRead_) return damaged();
    const std::size_t lastChunk = binarySize_ - kCheckBytes;
    if (lastChunk < kChunkOverhead) return damaged();
    const std::uint8_t* check = binary_ + lastChunk;
    const std::uint32_t expected = static_cast<std::uint32_t>(check[0]) << 24 |
                                   static_cast<std::uint32_t>(check[1]) << 16 |
                                   static_cast<std::uint32_t>(check[2]) << 8 | check[3];
    if (crc32Update(crc_, binary_, lastChunk) != expected) return damaged();
    if (Status pulled = pullChunk(lastChunk, true, emit); !pulled) return pulled;
    if (firstChunkFailed_) return Error{.kind = Error::Kind::SealedOtherKey, .fingerprint = key_.fingerprint()};
    return Done{};
}

Result<secret::String> openWhole(std::string_view token, const SealingKey& key) {
    // Room for all of it at once (8 bytes for every 11 digits): no growing.
    secret::String payload;
    payload.reserve(token.size() / 11 * 8 + 8);
    const Emit append = [&](std::string_view piece) -> Status {
        payload.append(piece);
        return Done{};
    };
    Opener opener(key);
    Status opened = opener.push(token, append);
    if (opened) opened = opener.finish(append);
    if (!opened) return opened.error();
    return payload;
}

} // namespace tarvex::seal
