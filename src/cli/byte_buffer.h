// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <memory>

namespace tarvex::cli {

// Memory written through a pointer. It grows only, to the largest size asked
// for, and is never zero-filled first as a growing std::string would be; pages
// never written cost no memory.
class ByteBuffer {
public:
    // Room for at least `size` bytes; the contents are lost when it grows.
    char* room(std::size_t size) {
        if (size > capacity_) {
            data_ = std::make_unique_for_overwrite<char[]>(size);
            capacity_ = size;
        }
        return data_.get();
    }

private:
    std::unique_ptr<char[]> data_;
    std::size_t capacity_ = 0;
};

} // namespace tarvex::cli
