#include "key_stream.h"

#include <algorithm>

namespace tarvex {
namespace {
// Short keys are repeated to at least this many elements, so runs stay long.
constexpr std::size_t kMinimumPeriod = 4096;
} // namespace

KeyStream::KeyStream(std::span<const std::uint8_t> keyNumbers) {
    std::size_t repeats = (kMinimumPeriod + keyNumbers.size() - 1) / keyNumbers.size();
    period_.reserve(repeats * keyNumbers.size());
    for (std::size_t r = 0; r < repeats; ++r) {
        period_.insert(period_.end(), keyNumbers.begin(), keyNumbers.end());
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

} // namespace tarvex
