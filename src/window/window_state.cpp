// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_state.h"

#include "seal/text_to_decrypt.h"

namespace tarvex::window {

namespace {
// The marker, code 240, as UTF-8.
constexpr std::string_view kMarkerCharacter = "\xC3\xB0";
constexpr char kEqualsSign = '=';
} // namespace

bool isMarkedText(std::string_view text) {
    if (text.starts_with(kMarkerCharacter) || text.starts_with(kEqualsSign)) {
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
