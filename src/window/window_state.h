// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "working_mode.h"

#include <string_view>

// Which commands the window offers, derived from the message text (UTF-8),
// whether a key is chosen and the mode number. Nothing else counts.
namespace tarvex::window {

// A classic cipher text begins with the marker; a text beginning with "=" counts
// too. A sealed one begins with tarvex1 after white space and quote markers.
bool isMarkedText(std::string_view text);

bool saveTextFileEnabled(std::string_view text, ModeNumber mode);

struct TextCommandStates {
    bool saveTextFile;
    bool encrypt; // Seal too
    bool decrypt;
    bool clearText;
    bool paste;
    bool copy;
};

TextCommandStates textCommandStates(std::string_view text, bool keyChosen, ModeNumber mode);

} // namespace tarvex::window
