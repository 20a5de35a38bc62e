// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "uniform_source.h"

#include "secret/bytes.h"

#include <cstddef>
#include <cstdint>

namespace tarvex::cipher {

// Draws come straight from the kernel's CSPRNG (getrandom). A reseed folds the
// seed into a salt that is XORed into every later draw: it changes the values
// without ever restarting a sequence, so an unchanged clock cannot repeat a key byte.
class SecureUniformSource final : public UniformSource {
public:
    void reseed(float seed) override;
    Result<double> next() override;

private:
    Status refill();

    static constexpr std::size_t kDraws = 32;

    // Draws not yet taken: they become key bytes.
    secret::Bytes buffer_{kDraws * sizeof(std::uint64_t)};
    std::size_t used_ = kDraws;
    std::uint64_t salt_ = 0;
};

class SystemTimeOfDayClock final : public TimeOfDayClock {
public:
    float secondsSinceMidnight() override;
};

} // namespace tarvex::cipher
