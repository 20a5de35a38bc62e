// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"
#include "secret/string.h"
#include "text_paths.h"
#include "utf8.h"
#include "windows_1252.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Codes of the Windows-1252 set (windows_1252.h), one byte each, to UTF-8
// (utf8.h) and back.
namespace tarvex::text::charset {

// Codes (one byte each) to UTF-8. Every code has a character, so this cannot fail.
secret::String toUtf8(std::string_view codes);
void appendAsUtf8(secret::String& out, std::string_view codes);
// The same into `out`, which has room for 3 * codes.size() bytes; returns how
// many it wrote.
std::size_t writeAsUtf8(std::string_view codes, char* out, simd::Path path = simd::fastestPath());

// UTF-8 to codes. Fails on malformed UTF-8 (the position of the byte that starts
// the malformed sequence) or on the first
// character outside the set (the character and its position, counted in characters from 1).
Result<secret::String> fromUtf8(std::string_view utf8);

// The same conversion fed in pieces, so a multi-byte character may be split
// between two pieces; positions count across all pieces.
class Utf8ToCodes {
public:
    explicit Utf8ToCodes(simd::Path path = simd::fastestPath());

    // Writes the codes of every complete character of `piece` to `out`, which
    // has room for piece.size() codes; returns how many it wrote.
    Result<std::size_t> feed(std::string_view piece, char* out);
    // The same appended to `out`; on failure `out` is left as it was.
    Status feed(std::string_view piece, secret::String& out);
    // Fails when the input ended inside a character.
    Status finish() const;

    std::uint64_t charactersDone() const { return characters_; }

private:
    Status decodeOne(char32_t ch, char*& out);

    [[maybe_unused]] simd::Path path_; // read on x86-64 only

    char pending_[4] = {};
    std::size_t pendingSize_ = 0;
    std::uint64_t characters_ = 0;
    std::uint64_t bytes_ = 0;
};

} // namespace tarvex::text::charset
