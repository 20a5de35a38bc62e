// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The one reading of UTF-8 for every program part: well-formed means no
// overlong form, no surrogate, nothing past U+10FFFF.
namespace tarvex::text::charset {

// The length of the sequence a lead byte starts, or 0 for a byte that cannot lead one.
std::size_t utf8SequenceLength(unsigned char lead);
// The character of a complete sequence of `length` bytes; nullopt when it is
// overlong, a surrogate, beyond U+10FFFF or has a bad continuation byte.
std::optional<char32_t> decodeUtf8Sequence(const unsigned char* s, std::size_t length);
// The well-formed sequence at the start of `text`: its length and character,
// or length 0 when none starts there (cut off included).
struct Utf8Character {
    std::size_t size = 0;
    char32_t ch = 0;
};
Utf8Character firstUtf8Character(std::string_view text);

// Where the first malformed sequence in `bytes` starts, counted from 1; 0 when
// there is none.
std::size_t malformedUtf8At(std::string_view bytes);

void appendUtf8(std::string& out, char32_t ch);

} // namespace tarvex::text::charset
