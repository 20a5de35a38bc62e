// SPDX-License-Identifier: GPL-3.0-or-later

#include "text_lines.h"

namespace tarvex::text {

secret::String joinLines(std::string_view bytes) {
    secret::String joined;
    joined.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c != '\r') {
            joined.push_back(c);
        } else if (i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i; // CR LF ends the line as one
        }
    }
    return joined;
}

} // namespace tarvex::text
