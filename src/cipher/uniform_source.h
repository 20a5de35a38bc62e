// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"

namespace tarvex::cipher {

// Uniform values in [0, 1), reseedable from the time of day.
class UniformSource {
public:
    virtual ~UniformSource() = default;
    virtual void reseed(float seed) = 0;
    // Fails only when the source itself has failed.
    virtual Result<double> next() = 0;
};

// Seconds since local midnight, with fractions.
class TimeOfDayClock {
public:
    virtual ~TimeOfDayClock() = default;
    virtual float secondsSinceMidnight() = 0;
};

} // namespace tarvex::cipher
