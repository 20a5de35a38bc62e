// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace tarvex::seal {

// What a text given to Decrypt is, told by its start once the characters that
// opening a token drops (white space, format characters, '>' quote markers)
// are passed over. Decrypt takes only the first three: anything else would be
// "decrypted" into noise.
enum class TextToDecryptKind {
    Classic,       // a classic cipher text: the marker (code 240) or '=' first
    Sealed,        // begins with tarvex1
    NewerVersion,  // tarvex and another digit
    DamagedSealed, // a start close to tarvex1, or a long run of base58 digits alone
    NotCipherText, // anything else
    Blank,         // nothing but dropped characters, or nothing at all
    NotUtf8,       // UTF-8 was expected, and the first character that counts is none
};

// How the text's bytes stand for characters.
enum class TextBytes { Utf8, Windows1252 };

struct TextToDecrypt {
    TextToDecryptKind kind;
    // Bytes before the first character that counts (the dropped ones before it):
    // where a classic cipher text's marker stands, or the byte that is no UTF-8.
    std::size_t offset = 0;
    // That character; for NotCipherText, what the text begins with.
    char32_t first = 0;
};

// Judges `text`, or the start of a longer one, as it is: more text after it
// changes nothing but a verdict of base58 digits alone.
TextToDecrypt classifyTextToDecrypt(std::string_view text, TextBytes bytes);

// Whether UTF-8 `text` is a sealed message, or a newer version's, by the rule
// above: what is opened rather than decrypted as classic. Reads only as far as
// the prefix.
bool looksSealed(std::string_view text);

} // namespace tarvex::seal
