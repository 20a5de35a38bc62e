// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "secret/memory.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>

namespace tarvex::cli {

// Gives back the pages of a buffer that held a message, wiped and unlocked
// first: all of it, or only as far as it was filled once a user says so.
struct ReleasePages {
    std::size_t size = 0;
    bool filledKnown = false;
    bool filledUnknown = false; // a use ended without saying how far it wrote
    std::size_t filled = 0;
    void operator()(char* data) const noexcept { secret::releasePages(data, filledKnown ? filled : size); }
};

// Memory written through a pointer, in secret pages of its own. It grows
// only, to the largest size asked for, and is never zero-filled first as a
// growing std::string would be; pages never written cost no memory. It holds
// messages, so what it held is locked as far as it was filled, and wiped
// when it grows or goes.
class ByteBuffer {
public:
    // Room for at least `size` bytes; the contents are lost when it grows.
    char* room(std::size_t size) {
        if (size > capacity_) {
            const ReleasePages old = data_.get_deleter();
            data_.reset();
            data_ = Storage(static_cast<char*>(secret::allocatePages(size)),
                            ReleasePages{.size = size, .filledKnown = old.filledKnown,
                                         .filledUnknown = old.filledUnknown});
            capacity_ = size;
        }
        return data_.get();
    }

    // The first `size` bytes as written. A buffer whose every use ends here is
    // wiped only as far as it was ever filled: room asked for the worst case
    // need not cost a page fault per page never written. What was filled is
    // locked: those pages are in memory already.
    std::string_view filled(std::size_t size) {
        ReleasePages& release = data_.get_deleter();
        release.filledKnown = !release.filledUnknown;
        if (size > release.filled) {
            release.filled = size;
            secret::lockPages(data_.get(), size);
        }
        return {data_.get(), size};
    }
    // A use that failed part way: all of it is wiped.
    void filledUnknown() {
        data_.get_deleter().filledKnown = false;
        data_.get_deleter().filledUnknown = true;
    }

private:
    using Storage = std::unique_ptr<char[], ReleasePages>;
    Storage data_;
    std::size_t capacity_ = 0;
};

} // namespace tarvex::cli
