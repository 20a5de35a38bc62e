// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"
#include "text_paths.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The single-byte character set in which every character is one code 0-255:
// Windows-1252, with its five undefined bytes mapped to the C1 controls of the
// same value so that all 256 codes have a character and back.
namespace tarvex::charset {

char32_t toUnicode(std::uint8_t code);
std::optional<std::uint8_t> fromUnicode(char32_t ch);

void appendUtf8(std::string& out, char32_t ch);

// The one reading of single UTF-8 sequences for every program part.
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

// Codes (one byte each) to UTF-8. Every code has a character, so this cannot fail.
std::string toUtf8(std::string_view codes);
void appendAsUtf8(std::string& out, std::string_view codes);
// The same into `out`, which has room for 3 * codes.size() bytes; returns how
// many it wrote.
std::size_t writeAsUtf8(std::string_view codes, char* out, simd::Path path = simd::fastestPath());

// UTF-8 to codes. Fails on malformed UTF-8 (the position of the byte that starts
// the malformed sequence) or on the first
// character outside the set (the character and its position, counted in characters from 1).
Result<std::string> fromUtf8(std::string_view utf8);

// The same conversion fed in pieces, so a multi-byte character may be split
// between two pieces; positions count across all pieces.
class Utf8ToCodes {
public:
    explicit Utf8ToCodes(simd::Path path = simd::fastestPath());

    // Writes the codes of every complete character of `piece` to `out`, which
    // has room for piece.size() codes; returns how many it wrote.
    Result<std::size_t> feed(std::string_view piece, char* out);
    // The same appended to `out`; on failure `out` is left as it was.
    Status feed(std::string_view piece, std::string& out);
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

// Whether a terminal shows `ch` as itself: not a control, not an invisible
// mark that changes the direction or the lines of the text around it.
bool showsAsItself(char32_t ch);
// "'é' (U+00E9)", for messages; a character that does not show as itself is
// named by its number only ("U+202E").
std::string describeCharacter(char32_t ch);
// The same for a code of the set.
std::string describeCode(std::uint8_t code);

} // namespace tarvex::charset
