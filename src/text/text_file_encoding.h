// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"

#include <string>
#include <string_view>

namespace tarvex::text {

// A text file's codes. Its bytes are UTF-8 when they start with a byte-order
// mark or are valid UTF-8 with at least one character beyond ASCII, and
// Windows-1252 otherwise, so that every file written in Windows-1252 before
// reads as it always did. Fails when a UTF-8 file holds a character without a
// code (the character and its position) or is malformed after its mark.
Result<std::string> codesFromTextFile(std::string_view bytes);

// The bytes to write for `codes` so that codesFromTextFile() gives them back:
// the codes themselves, unless they would read as UTF-8; then UTF-8 after a
// byte-order mark.
std::string textFileFromCodes(std::string_view codes);

} // namespace tarvex::text
