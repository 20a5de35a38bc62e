// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// What the secret types stand on. Everything here is libsodium's: its wiping
// is not dropped as a dead store, and its locking keeps pages out of swap and
// out of core dumps.
namespace tarvex::secret {

// libsodium picks its fastest code paths, and learns the page size of its
// guarded memory, once; everything that calls it first calls this.
void ensureSodium();

// Overwrites `size` bytes with zeros.
void wipe(void* data, std::size_t size) noexcept;

// Memory for a secret in whole pages that hold nothing else, so that locking
// or unlocking it never touches another allocation's page: at least `size`
// bytes, neither zeroed nor locked yet. Throws std::bad_alloc.
void* allocatePages(std::size_t size);
// Locks the first `size` bytes of memory from allocatePages where the system
// allows it; a refusal (a low RLIMIT_MEMLOCK) is ignored. Only pages already
// written cost nothing more: locking brings in the rest.
void lockPages(void* data, std::size_t size) noexcept;
// Wipes and unlocks the first `used` bytes of memory from allocatePages, then
// frees all of it. What lies past `used` must never have been written or locked.
void releasePages(void* data, std::size_t used) noexcept;

} // namespace tarvex::secret
