// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tarvex::seal {

// A fixed-size buffer for keys, stream states and message pieces: guarded,
// locked where the system allows, and wiped when it goes.
class SecureBytes {
public:
    explicit SecureBytes(std::size_t size);
    ~SecureBytes();
    SecureBytes(SecureBytes&& other) noexcept;
    SecureBytes& operator=(SecureBytes&& other) noexcept;
    SecureBytes(const SecureBytes&) = delete;
    SecureBytes& operator=(const SecureBytes&) = delete;

    std::uint8_t* data() { return data_; }
    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

private:
    std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

// libsodium picks its fastest code paths once; every entry point calls this.
void ensureSodium();

} // namespace tarvex::seal
