#pragma once

#include "exchange_host.h"
#include "text_lines.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex::exchange {

// The message area is not made for more; a larger file is refused before it is read.
inline constexpr std::int64_t kMaxTextFileSize = 16 * 1024 * 1024;

inline constexpr const char* kTextFileFilter = "Text Files(*.txt)|*txt|Ascii Files(*.asc)|*asc";

// Asks for a text file and puts its joined lines into the message area. A file
// that cannot be read is reported and changes nothing.
void loadTextFile(ExchangeHost& host);

// Asks for a file name and writes the message and one CR LF there, all or nothing.
void saveTextFile(ExchangeHost& host);

} // namespace tarvex::exchange
