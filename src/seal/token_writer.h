// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace tarvex::seal {

// The text form of a binary form given in pieces: the prefix, then the digits
// of every block as soon as its 8 bytes are in.
class TokenWriter {
public:
    TokenWriter();

    void add(const std::uint8_t* bytes, std::size_t size);
    // The digits of the shorter last block; nothing may be added after.
    void finish();
    // What is written and not yet taken. It stays valid through the next
    // take: two buffers take turns, so a caller may hold one piece of text
    // while the next is written.
    std::string_view take();

private:
    // Room for `more` characters; never zero-filled, as a growing std::string would be.
    char* room(std::size_t more);

    struct Buffer {
        std::unique_ptr<char[]> data;
        std::size_t size = 0, capacity = 0;
    };
    Buffer buffers_[2];
    int current_ = 0;
    std::uint8_t carry_[8] = {};
    std::size_t carrySize_ = 0;
};

} // namespace tarvex::seal
