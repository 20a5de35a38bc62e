// SPDX-License-Identifier: GPL-3.0-or-later
#include "secure_bytes.h"

#include <sodium.h>

#include <cstdlib>
#include <new>
#include <utility>

namespace tarvex::seal {

void ensureSodium() {
    // Fails only when the system has no random source at all.
    if (sodium_init() < 0) std::abort();
}

SecureBytes::SecureBytes(std::size_t size) : size_(size) {
    ensureSodium();
    data_ = static_cast<std::uint8_t*>(sodium_malloc(size == 0 ? 1 : size));
    if (data_ == nullptr) throw std::bad_alloc();
}

SecureBytes::~SecureBytes() {
    sodium_free(data_); // wipes before it frees
}

SecureBytes::SecureBytes(SecureBytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

SecureBytes& SecureBytes::operator=(SecureBytes&& other) noexcept {
    if (this != &other) {
        sodium_free(data_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

} // namespace tarvex::seal
