// SPDX-License-Identifier: GPL-3.0-or-later

#include "working_mode.h"

#include "platform/system_colour.h"

namespace tarvex::window {

ModeSettings modeSettings(ModeNumber mode) {
    switch (mode) {
    case kIcqMode:
        return {.number = kIcqMode, .textLimit = kIcqTextLimit, .emptiesFileName = true,
                .fileCommandsEnabled = false, .fileNameBackground = platform::kButtonFace};
    case kEmailMode:
        return {.number = kEmailMode, .textLimit = 0, .emptiesFileName = true,
                .fileCommandsEnabled = false, .fileNameBackground = platform::kButtonFace};
    default:
        return {.number = kFileMode, .textLimit = 0, .emptiesFileName = false,
                .fileCommandsEnabled = true, .fileNameBackground = platform::kHighlightedText};
    }
}

} // namespace tarvex::window
