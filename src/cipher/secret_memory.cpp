// SPDX-License-Identifier: GPL-3.0-or-later

#include "secret_memory.h"

#include <sodium.h>

namespace tarvex {

void lockSecret(void* data, std::size_t size) noexcept {
    if (data && size > 0) (void)sodium_mlock(data, size);
}

void wipeSecret(void* data, std::size_t size) noexcept {
    if (!data || size == 0) return;
    // sodium_munlock zeroes the memory before it unlocks it, locked or not.
    if (sodium_munlock(data, size) != 0) sodium_memzero(data, size);
}

} // namespace tarvex
