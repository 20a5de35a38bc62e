// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "cipher/secret_memory.h"

#include <cstddef>
#include <memory>

namespace tarvex::cli {

// Frees a buffer that held a message, wiped first.
struct WipedDelete {
    std::size_t size = 0;
    void operator()(char* data) const noexcept {
        wipeSecret(data, size);
        delete[] data;
    }
};

// Memory written through a pointer. It grows only, to the largest size asked
// for, and is never zero-filled first as a growing std::string would be; pages
// never written cost no memory. It holds messages, so what it held is wiped
// when it grows or goes.
class ByteBuffer {
public:
    // Room for at least `size` bytes; the contents are lost when it grows.
    char* room(std::size_t size) {
        if (size > capacity_) {
            data_.reset();
            data_ = Storage(new char[size], WipedDelete{size});
            capacity_ = size;
        }
        return data_.get();
    }

private:
    using Storage = std::unique_ptr<char[], WipedDelete>;
    Storage data_;
    std::size_t capacity_ = 0;
};

} // namespace tarvex::cli
