// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <vector>

namespace tarvex {

// Keeps the pages of a secret out of swap where the system allows it; a
// refusal (a low RLIMIT_MEMLOCK) is ignored.
void lockSecret(void* data, std::size_t size) noexcept;
// Overwrites a secret in a way the compiler does not drop, and unlocks it.
void wipeSecret(void* data, std::size_t size) noexcept;

// Memory for key material and messages: locked while held, wiped when freed.
template <class T>
struct SecretAllocator {
    using value_type = T;
    SecretAllocator() = default;
    template <class U>
    SecretAllocator(const SecretAllocator<U>& /*other*/) noexcept {}

    T* allocate(std::size_t count) {
        T* data = static_cast<T*>(::operator new(count * sizeof(T)));
        lockSecret(data, count * sizeof(T));
        return data;
    }
    void deallocate(T* data, std::size_t count) noexcept {
        wipeSecret(data, count * sizeof(T));
        ::operator delete(data);
    }
    template <class U>
    bool operator==(const SecretAllocator<U>& /*other*/) const noexcept {
        return true;
    }
};

// Wipes key numbers held in an ordinary container when the scope ends.
class WipeOnExit {
public:
    explicit WipeOnExit(std::span<std::uint8_t> secret) noexcept : secret_(secret) { lockSecret(secret_.data(), secret_.size()); }
    ~WipeOnExit() { wipeSecret(secret_.data(), secret_.size()); }
    WipeOnExit(const WipeOnExit&) = delete;
    WipeOnExit& operator=(const WipeOnExit&) = delete;

private:
    std::span<std::uint8_t> secret_;
};

using SecretBytes = std::vector<std::uint8_t, SecretAllocator<std::uint8_t>>;

} // namespace tarvex
