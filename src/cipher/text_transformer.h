// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "key_stream.h"
#include "core/result.h"
#include "secret/string.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tarvex::cipher {

enum class Direction { Encrypt, Decrypt };

// Encrypts or decrypts one text, given as codes, in as many pieces as the caller
// likes. Encrypting puts the marker first; decrypting drops the first code,
// whatever it is. The n-th transformed code uses the n-th key number.
class TextTransformer {
public:
    // `keyNumbers` must not be empty.
    TextTransformer(Direction direction, std::span<const std::uint8_t> keyNumbers);

    // How many codes the next feed of `inputSize` codes writes: one more than
    // the input when the marker is still to come, one fewer when it is still to
    // be dropped.
    std::size_t resultSize(std::size_t inputSize) const;

    // Writes the result of the next piece to `out`, which has room for
    // resultSize(codes.size()) codes; nothing is cleared or grown first. On
    // failure nothing counts as fed, and the error names the code and its
    // position in the whole input (counted from 1).
    Status feed(std::string_view codes, char* out);

    // The same, appended to `out`; on failure `out` is left as it was.
    Status feed(std::string_view codes, secret::String& out);

    // Ends the text: an encrypted empty text is the marker alone.
    void finish(secret::String& out);

private:
    Direction direction_;
    KeyStream keys_;
    std::uint64_t consumed_ = 0; // input codes so far
    bool markerHandled_ = false;
};

// Whole texts at once: the marker plus one code per code, or the reverse.
Result<secret::String> encryptText(std::string_view codes, std::span<const std::uint8_t> keyNumbers);
Result<secret::String> decryptText(std::string_view cipherText, std::span<const std::uint8_t> keyNumbers);

} // namespace tarvex::cipher
