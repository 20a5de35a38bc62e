// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tarvex::secret {

// A secret of a size fixed when it is made (a key, its key numbers, a stream
// state, a shared value): in guarded memory, with an inaccessible page on each
// side, so that a read or write past either end stops the program; locked
// where the system allows; wiped when it goes. Its bytes start out unspecified.
class Bytes {
public:
    // Holds nothing.
    Bytes() noexcept = default;
    explicit Bytes(std::size_t size);
    // A copy of `bytes`.
    explicit Bytes(std::span<const std::uint8_t> bytes);
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
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace tarvex::secret
