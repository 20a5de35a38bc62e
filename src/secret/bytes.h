// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tarvex::secret {

// A secret of a size fixed when it is made (key numbers, a key, a stream
// state, a shared value): locked where the system allows, in pages that hold
// nothing else, and wiped when it goes. Its bytes start out unspecified.
//
// Guarded ones have an inaccessible page on each side besides, so that a read
// or write past either end stops the program: for keys, stream states and
// the agreement's values, which the crypto code works on. They cost a dozen
// system calls each, too many for buffers that come and go with every text.
class Bytes {
public:
    // Holds nothing.
    Bytes() noexcept = default;
    explicit Bytes(std::size_t size);
    static Bytes guarded(std::size_t size);
    // A copy of `bytes`.
    explicit Bytes(std::span<const std::uint8_t> bytes);
    // A copy, guarded if `other` is.
    Bytes(const Bytes& other);
    Bytes& operator=(const Bytes& other);
    Bytes(Bytes&& other) noexcept;
    Bytes& operator=(Bytes&& other) noexcept;
    ~Bytes();

    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::uint8_t* begin() { return data_; }
    std::uint8_t* end() { return data_ + size_; }
    const std::uint8_t* begin() const { return data_; }
    const std::uint8_t* end() const { return data_ + size_; }
    std::uint8_t& operator[](std::size_t i) { return data_[i]; }
    std::uint8_t operator[](std::size_t i) const { return data_[i]; }
    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

    // Wipes and frees the bytes now; the buffer then holds nothing.
    void clear() noexcept;

private:
    Bytes(std::size_t size, bool guarded);

    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    bool guarded_ = false;
};

} // namespace tarvex::secret
