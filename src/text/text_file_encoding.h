// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"
#include "secret/string.h"

#include <string_view>

namespace tarvex::text {

// A text file's bytes as the message's UTF-8: UTF-8 when they start with a
// byte-order mark (which goes) or are valid UTF-8 with a character beyond
// ASCII, Windows-1252 otherwise, so that every file written in Windows-1252
// before reads as it always did; lines not yet joined. Fails only on
// malformed UTF-8 after a byte-order mark.
Result<secret::String> textOfTextFile(std::string_view bytes);

// What Save writes for a text (UTF-8): Windows-1252 where every character has
// a code there and reads back so, UTF-8 otherwise; textOfTextFile() gives it back.
secret::String textFileOfText(std::string_view text);

} // namespace tarvex::text
