// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "secret/bytes.h"

namespace tarvex::cipher {

// The key numbers repeated without end. Hands them out as contiguous runs so
// a transform can pair text and key numbers element by element.
class KeyStream {
public:
    // `keyNumbers` must not be empty.
    explicit KeyStream(std::span<const std::uint8_t> keyNumbers);

    // The key numbers for the next characters, at most `wanted` and at least one
    // (when wanted > 0); the stream moves past them.
    std::span<const std::uint8_t> take(std::size_t wanted);

    // Moves back by `count` elements taken earlier (to undo a failed piece).
    void rewind(std::uint64_t count);

private:
    secret::Bytes period_; // whole repetitions, long enough for vector runs
    std::size_t offset_ = 0;
};

} // namespace tarvex::cipher
