// SPDX-License-Identifier: GPL-3.0-or-later

#include "secret/string.h"
#include "text/text_lines.h"

#include "fuzz_check.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

// Joining a file's lines drops exactly the line ends (CR, and the LF of a CR LF)
// and keeps every other byte in order.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tarvex::secret::String joined = tarvex::text::joinLines(bytes);

    FUZZ_CHECK(joined.find('\r') == std::string::npos);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] == '\r') {
            if (i + 1 < size && bytes[i + 1] == '\n') ++i;
            continue;
        }
        FUZZ_CHECK(kept < joined.size() && joined[kept] == bytes[i]);
        ++kept;
    }
    FUZZ_CHECK(kept == joined.size());

    // A text without line breaks, saved with its CR LF, loads back as it was.
    if (bytes.find('\r') == std::string_view::npos) {
        std::string saved(bytes);
        saved += "\r\n";
        FUZZ_CHECK(std::string_view(tarvex::text::joinLines(saved)) == bytes);
    }
    return 0;
}
