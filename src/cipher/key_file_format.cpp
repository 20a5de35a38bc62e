// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_file_format.h"

namespace tarvex::cipher {

secret::String formatKeyFile(std::span<const std::uint8_t> keyBytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    secret::String text;
    text.reserve(keyBytes.size() * 2 + (keyBytes.size() / kPairsPerLine + 1) * 2);
    std::size_t onLine = 0;
    for (std::uint8_t b : keyBytes) {
        text += kHex[b >> 4];
        text += kHex[b & 0x0F];
        if (++onLine == kPairsPerLine) {
            text += "\r\n";
            onLine = 0;
        }
    }
    text += "\r\n";
    return text;
}

} // namespace tarvex::cipher
