// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "allocator.h"
#include "memory.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

namespace tarvex::secret {

using BasicString = std::basic_string<char, std::char_traits<char>, Allocator<char>>;

// A message, a payload or a key file's text: a std::basic_string whose
// characters always live in locked pages of its own and are wiped when they
// go, however it grows. Never in the object itself, as a short std::string
// keeps them: that copy would sit unlocked on the stack and outlive the
// string. What returns a BasicString (+, substr) is best avoided for that
// reason; append to a String instead.
class String : public BasicString {
public:
    String() { leaveObject(0); }
    String(std::string_view text) { *this = text; }
    String(const char* text) : String(std::string_view(text)) {}
    String(std::size_t count, char ch) {
        leaveObject(count);
        assign(count, ch);
    }
    String(const String& other) : String(std::string_view(other)) {}
    String(String&& other) noexcept = default;
    // What + or substr gave.
    String(BasicString&& other) : String() {
        if (other.capacity() > inObjectCapacity()) {
            swap(other); // this String's pages go, wiped, with `other`
        } else {
            assign(other);
            wipe(other.data(), other.capacity());
        }
    }
    ~String() {
        // Only a String moved from holds its (no) characters in itself.
        if (capacity() <= inObjectCapacity()) wipe(data(), capacity());
    }

    String& operator=(const String& other) {
        if (this != &other) *this = std::string_view(other);
        return *this;
    }
    String& operator=(String&& other) noexcept {
        BasicString::operator=(std::move(other));
        return *this;
    }
    String& operator=(std::string_view text) {
        leaveObject(text.size());
        assign(text);
        return *this;
    }

private:
    static std::size_t inObjectCapacity() { return BasicString().capacity(); }
    // Room beyond what fits in the object itself moves the characters out to
    // the allocator's pages; `size` is asked for at once.
    void leaveObject(std::size_t size) {
        if (capacity() <= inObjectCapacity()) reserve(std::max(size, inObjectCapacity() + 1));
    }
};

} // namespace tarvex::secret
