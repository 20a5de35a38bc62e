// SPDX-License-Identifier: GPL-3.0-or-later
#include "bytes.h"

#include "memory.h"

#include <sodium.h>

#include <algorithm>
#include <new>
#include <utility>

namespace tarvex::secret {

Bytes::Bytes(std::size_t size, bool guarded) : size_(size), guarded_(guarded) {
    if (guarded) {
        ensureSodium();
        // Zero bytes still get a page: data() is never null while held.
        data_ = static_cast<std::uint8_t*>(sodium_malloc(size == 0 ? 1 : size));
        if (data_ == nullptr) throw std::bad_alloc();
    } else {
        data_ = static_cast<std::uint8_t*>(allocatePages(size));
        lockPages(data_, size);
    }
}

Bytes::Bytes(std::size_t size) : Bytes(size, false) {}

Bytes Bytes::guarded(std::size_t size) {
    return Bytes(size, true);
}

Bytes::Bytes(std::span<const std::uint8_t> bytes) : Bytes(bytes.size()) {
    std::copy(bytes.begin(), bytes.end(), data_);
}

Bytes::Bytes(const Bytes& other) : Bytes(other.size_, other.guarded_) {
    std::copy(other.begin(), other.end(), data_);
}

Bytes& Bytes::operator=(const Bytes& other) {
    if (this != &other) *this = Bytes(other);
    return *this;
}

Bytes::Bytes(Bytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)), guarded_(other.guarded_) {}

Bytes& Bytes::operator=(Bytes&& other) noexcept {
    if (this != &other) {
        clear();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        guarded_ = other.guarded_;
    }
    return *this;
}

Bytes::~Bytes() {
    clear();
}

void Bytes::clear() noexcept {
    if (data_ == nullptr) return;
    if (guarded_) {
        sodium_free(data_); // wipes and unlocks before it frees
    } else {
        releasePages(data_, size_);
    }
    data_ = nullptr;
    size_ = 0;
}

} // namespace tarvex::secret
