// SPDX-License-Identifier: GPL-3.0-or-later

#include "secure_uniform_source.h"

#include "secret/memory.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <sys/random.h>

namespace tarvex::cipher {

void SecureUniformSource::reseed(float seed) {
    salt_ = (salt_ ^ std::bit_cast<std::uint32_t>(seed)) * 0x9E3779B97F4A7C15ull;
    salt_ ^= salt_ >> 29;
}

Status SecureUniformSource::refill() {
    std::uint8_t* bytes = buffer_.data();
    const std::size_t wanted = buffer_.size();
    std::size_t got = 0;
    while (got < wanted) {
        ssize_t n = getrandom(bytes + got, wanted - got, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Error{.kind = Error::Kind::RandomSourceFailed, .osError = errno};
        }
        got += static_cast<std::size_t>(n);
    }
    used_ = 0;
    return Done{};
}

Result<double> SecureUniformSource::next() {
    if (used_ == kDraws) {
        if (Status filled = refill(); !filled) return filled.error();
    }
    std::uint8_t* draw = buffer_.data() + used_++ * sizeof(std::uint64_t);
    std::uint64_t bits = 0;
    std::memcpy(&bits, draw, sizeof bits);
    secret::wipe(draw, sizeof bits); // spent randomness does not linger
    // The top 53 bits make an exact double in [0, 1).
    return static_cast<double>((bits ^ salt_) >> 11) * 0x1.0p-53;
}

float SystemTimeOfDayClock::secondsSinceMidnight() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + static_cast<double>(now.tv_nsec) / 1e9;
    return static_cast<float>(seconds);
}

} // namespace tarvex::cipher
