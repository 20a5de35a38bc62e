// SPDX-License-Identifier: GPL-3.0-or-later
#include "bytes.h"

#include "memory.h"

#include <sodium.h>

#include <algorithm>
#include <new>
#include <utility>

namespace tarvex::secret {

Bytes::Bytes(std::size_t size) : size_(size) {
    ensureSodium();
    // Zero bytes still get a guarded page: data() is never null while held.
    data_ = static_cast<std::uint8_t*>(sodium_malloc(size == 0 ? 1 : size));
    if (data_ == nullptr) throw std::bad_alloc();
}

Bytes::Bytes(std::span<const std::uint8_t> bytes) : Bytes(bytes.size()) {
    std::copy(bytes.begin(), bytes.end(), data_);
}

Bytes::Bytes(const Bytes& other) : Bytes(other.bytes()) {}

Bytes& Bytes::operator=(const Bytes& other) {
    if (this != &other) *this = Bytes(other);
    return *this;
}

Bytes::Bytes(Bytes&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

Bytes& Bytes::operator=(Bytes&& other) noexcept {
    if (this != &other) {
        clear();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

Bytes::~Bytes() {
    clear();
}

void Bytes::clear() noexcept {
    sodium_free(data_); // wipes and unlocks before it frees; nothing for null
    data_ = nullptr;
    size_ = 0;
}

} // namespace tarvex::secret
