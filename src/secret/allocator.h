// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "memory.h"

#include <cstddef>
#include <limits>
#include <new>

namespace tarvex::secret {

// The allocator of growing secrets, messages above all: pages of their own,
// locked while held, wiped when freed (a string that grows leaves no copy
// behind). Unlike guarded memory it costs no system call per page, and a
// message of many MiB is one allocation.
template <class T>
struct Allocator {
    using value_type = T;

    Allocator() = default;
    template <class U>
    Allocator(const Allocator<U>& /*other*/) noexcept {}

    T* allocate(std::size_t count) {
        if (count > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_array_new_length();
        void* data = allocatePages(count * sizeof(T));
        lockPages(data, count * sizeof(T));
        return static_cast<T*>(data);
    }
    void deallocate(T* data, std::size_t count) noexcept {
        releasePages(data, count * sizeof(T));
    }

    template <class U>
    bool operator==(const Allocator<U>& /*other*/) const noexcept {
        return true;
    }
};

} // namespace tarvex::secret
