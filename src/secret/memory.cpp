// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory.h"

#include <sodium.h>

#include <unistd.h>

#include <cstdlib>
#include <new>

namespace tarvex::secret {
namespace {

std::align_val_t pageAlignment() {
    static const auto page = static_cast<std::align_val_t>(::sysconf(_SC_PAGESIZE));
    return page;
}

std::size_t wholePages(std::size_t size) {
    const auto page = static_cast<std::size_t>(pageAlignment());
    return size == 0 ? page : (size + page - 1) / page * page;
}

} // namespace

void ensureSodium() {
    // Fails only when the system has no random source at all.
    if (sodium_init() < 0) std::abort();
}

void wipe(void* data, std::size_t size) noexcept {
    if (data != nullptr && size > 0) sodium_memzero(data, size);
}

void* allocatePages(std::size_t size) {
    return ::operator new(wholePages(size), pageAlignment());
}

void lockPages(void* data, std::size_t size) noexcept {
    if (data != nullptr && size > 0) (void)sodium_mlock(data, size);
}

void releasePages(void* data, std::size_t used) noexcept {
    if (data == nullptr) return;
    // Zeroes, then unlocks, whether or not the lock was granted.
    if (used > 0) (void)sodium_munlock(data, used);
    ::operator delete(data, pageAlignment());
}

} // namespace tarvex::secret
