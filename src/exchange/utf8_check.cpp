// SPDX-License-Identifier: GPL-3.0-or-later

#include "utf8_check.h"

namespace tarvex::exchange {

std::size_t malformedUtf8At(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char first = byte(i);
        const std::size_t size = first < 0x80 ? 1 : first >= 0xC2 && first <= 0xDF ? 2
                               : first >= 0xE0 && first <= 0xEF                    ? 3
                               : first >= 0xF0 && first <= 0xF4                    ? 4
                                                                                   : 0;
        if (size == 0 || i + size > bytes.size()) return i + 1;
        char32_t ch = size == 1 ? first : first & (0x7Fu >> size);
        for (std::size_t k = 1; k < size; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80) return i + 1;
            ch = (ch << 6) | (byte(i + k) & 0x3Fu);
        }
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (ch < kSmallest[size] || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return i + 1;
        i += size;
    }
    return 0;
}

} // namespace tarvex::exchange
