// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_state.h"

#include "cipher/cipher_codes.h"
#include "seal/text_to_decrypt.h"
#include "text/charset.h"

namespace tarvex::window {

namespace {
constexpr char32_t kEqualsSign = '=';
} // namespace

bool isMarkedText(std::string_view text) {
    const char32_t first = text::charset::firstUtf8Character(text).ch;
    if (first == text::charset::toUnicode(cipher::kMarker) || first == kEqualsSign) {
        return true;
    }
    // A newer version's token too: Decrypt then says what it is.
    return seal::looksSealed(text);
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
