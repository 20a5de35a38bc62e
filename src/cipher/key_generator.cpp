// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_generator.h"

#include <algorithm>
#include <cmath>

namespace tarvex::cipher {
namespace {

// floor(R * range) as an integer below `range`, even for a source that misbehaves near 1.
Result<int> draw(UniformSource& source, TimeOfDayClock& clock, int range) {
    source.reseed(clock.secondsSinceMidnight());
    Result<double> r = source.next();
    if (!r) return r.error();
    double scaled = std::floor(*r * range);
    return std::clamp(static_cast<int>(scaled), 0, range - 1);
}

} // namespace

Result<secret::Bytes> generateKeyBytes(UniformSource& source, TimeOfDayClock& clock) {
    Result<int> length = draw(source, clock, kMaxKeyLength - kMinKeyLength + 1);
    if (!length) return length.error();
    secret::Bytes key(static_cast<std::size_t>(*length + kMinKeyLength));
    for (std::uint8_t& byte : key) {
        Result<int> value = draw(source, clock, 256);
        if (!value) return value.error();
        byte = static_cast<std::uint8_t>(*value);
    }
    return key;
}

} // namespace tarvex::cipher
