// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sealed_format.h"
#include "sealing_key.h"

#include "secret/string.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex::seal {

// Token in, payload out, in pieces of any size. Only authenticated pieces are
// emitted; the verdict on a fault is the same as for the whole token at once:
// a wrong check is damage, a matching check with a failing first chunk is
// another key, anything else wrong is damage.
class Opener {
public:
    // Keeps a copy of `key`: the header that needs it comes later.
    explicit Opener(const SealingKey& key);

    Status push(std::string_view text, const Emit& emit);
    Status finish(const Emit& emit);

private:
    Status takeCharacter(char32_t ch, const Emit& emit);
    Status takeDigit(int value, const Emit& emit);
    Status completeGroup(std::size_t digits, const Emit& emit);
    Status takeBinary(const std::uint8_t* bytes, std::size_t size, const Emit& emit);
    // Reads the header, or pulls a chunk, once enough of the binary form is in.
    Status settle(const Emit& emit);
    Status pullChunk(std::size_t size, bool last, const Emit& emit);
    Error damaged() const { return Error{.kind = Error::Kind::SealedDamaged}; }
    Error wrongCharacter(char32_t ch) const {
        return Error{.kind = Error::Kind::SealedDamaged, .position = characters_, .code = ch};
    }

    SealingKey key_;
    secret::Bytes state_;
    secret::Bytes piece_;
    std::uint64_t characters_ = 0; // of the text as given, the current one included
    char pendingUtf8_[4] = {};
    std::size_t pendingSize_ = 0;
    std::size_t prefixMatched_ = 0;
    std::uint8_t group_[11] = {};
    std::size_t groupSize_ = 0;
    std::uint64_t groupStart_ = 0;  // position of the group's first digit
    char32_t groupFirst_ = 0;
    std::uint8_t binary_[kFullChunkBytes + kCheckBytes + 8] = {};
    std::size_t binarySize_ = 0;
    std::uint64_t binaryTotal_ = 0;
    bool headerRead_ = false;
    std::uint64_t chunksPulled_ = 0;
    bool firstChunkFailed_ = false;
    std::uint32_t crc_ = 0;
};

// The payload of a whole token.
Result<secret::String> openWhole(std::string_view token, const SealingKey& key);

} // namespace tarvex::seal
