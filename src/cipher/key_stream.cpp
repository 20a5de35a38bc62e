// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_stream.h"

#include <algorithm>

namespace tarvex::cipher {
namespace {
// Keys are repeated to at least this many elements, so a transform meets the
// end of the period, and its short ends, seldom; it still fits the cache.
constexpr std::size_t kMinimumPeriod = 65536;
} // namespace

KeyStream::KeyStream(std::span<const std::uint8_t> keyNumbers)
    : period_((kMinimumPeriod + keyNumbers.size() - 1) / keyNumbers.size() * keyNumbers.size()) {
    std::copy(keyNumbers.begin(), keyNumbers.end(), period_.begin());
    // Double what is there until the period is full: a few copies, even for a one-number key.
    for (std::size_t filled = keyNumbers.size(); filled < period_.size(); filled *= 2) {
        std::copy_n(period_.begin(), std::min(filled, period_.size() - filled), period_.begin() + static_cast<std::ptrdiff_t>(filled));
    }
}

std::span<const std::uint8_t> KeyStream::take(std::size_t wanted) {
    std::size_t count = std::min(wanted, period_.size() - offset_);
    std::span<const std::uint8_t> run(period_.data() + offset_, count);
    offset_ += count;
    if (offset_ == period_.size()) offset_ = 0;
    return run;
}

void KeyStream::rewind(std::uint64_t count) {
    std::size_t back = static_cast<std::size_t>(count % period_.size());
    offset_ = (offset_ + period_.size() - back) % period_.size();
}

} // namespace tarvex::cipher
