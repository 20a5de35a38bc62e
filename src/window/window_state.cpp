// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_state.h"

#include "cipher/cipher_codes.h"

namespace tarvex::window {

namespace {
constexpr unsigned char kEqualsSign = 61;
}

bool isMarkedText(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    const auto first = static_cast<unsigned char>(text.front());
    return first == kMarker || first == kEqualsSign;
}

bool saveTextFileEnabled(std::string_view text, ModeNumber mode) {
    return mode == kFileMode && !text.empty();
}

TextCommandStates textCommandStates(std::string_view text, bool keyChosen, ModeNumber mode) {
    const bool hasText = !text.empty();
    const bool marked = isMarkedText(text);
    return {
        .saveTextFile = saveTextFileEnabled(text, mode),
        .encrypt = hasText && keyChosen && !marked,
        .decrypt = hasText && keyChosen && marked,
        .clearText = hasText,
        .paste = !hasText,
        .copy = hasText,
    };
}

} // namespace tarvex::window
