// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "uniform_source.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace tarvex {

// Draws come straight from the kernel's CSPRNG (getrandom). A reseed folds the
// seed into a salt that is XORed into every later draw: it changes the values
// without ever restarting a sequence, so an unchanged clock cannot repeat a key byte.
class SecureUniformSource final : public UniformSource {
public:
    void reseed(float seed) override;
    Result<double> next() override;

private:
    Status refill();

    std::array<std::uint64_t, 32> buffer_{};
    std::size_t used_ = buffer_.size();
    std::uint64_t salt_ = 0;
};

class SystemTimeOfDayClock final : public TimeOfDayClock {
public:
    float secondsSinceMidnight() override;
};

} // namespace tarvex
