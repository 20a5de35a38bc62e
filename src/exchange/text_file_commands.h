// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "exchange_host.h"
#include "text/text_lines.h"

#include <cstdint>

namespace tarvex::exchange {

// The largest text the window holds and the CR LF that Save puts after it, in
// UTF-8 of up to four bytes a character: what was saved loads back, a larger
// file is refused before it is read.
inline constexpr std::int64_t kMaxTextFileSize = 4 * (static_cast<std::int64_t>(kMaxMessageLength) + 2);

// Asks for a text file and puts its joined lines into the message area. A file
// that cannot be read, or whose text would pass the mode's limit, is reported
// and changes nothing.
void loadTextFile(ExchangeHost& host);

// Asks for a file name (and before replacing a file) and writes the message and
// one CR LF there, all or nothing.
void saveTextFile(ExchangeHost& host);

} // namespace tarvex::exchange
