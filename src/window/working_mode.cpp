// SPDX-License-Identifier: GPL-3.0-or-later

#include "working_mode.h"

#include "platform/system_colour.h"

namespace tarvex::window {

ModeSettings modeSettings(ModeNumber mode) {
    switch (mode) {
    case kIcqMode:
        return {.number = kIcqMode, .textLimit = kIcqTextLimit, .fileNameBackground = platform::kButtonFace};
    case kEmailMode:
        return {.number = kEmailMode, .textLimit = 0, .fileNameBackground = platform::kButtonFace};
    default:
        return {.number = kFileMode, .textLimit = 0, .fileNameBackground = platform::kHighlightedText};
    }
}

} // namespace tarvex::window
