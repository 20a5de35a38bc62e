// SPDX-License-Identifier: GPL-3.0-or-later

#include "system_colour.h"

namespace tarvex::platform {

std::optional<QPalette::ColorRole> paletteRoleFor(std::uint32_t colour) {
    if (!isSystemColour(colour) || (colour & 0x7FFFFF00u) != 0) {
        return std::nullopt;
    }
    switch (colour & 0xFFu) {
    case 4: return QPalette::Window;            // menu background
    case 5: return QPalette::Base;              // window background
    case 7: return QPalette::WindowText;        // menu text
    case 8: return QPalette::Text;              // window text
    case 13: return QPalette::Highlight;        // highlight
    case 14: return QPalette::HighlightedText;  // highlighted text
    case 15: return QPalette::Button;           // button face
    case 16: return QPalette::Dark;             // button shadow
    case 17: return QPalette::PlaceholderText;  // grey text
    case 18: return QPalette::ButtonText;       // button text
    case 20: return QPalette::Light;            // button highlight
    case 23: return QPalette::ToolTipText;      // tooltip text
    case 24: return QPalette::ToolTipBase;      // tooltip background
    default: return std::nullopt;
    }
}

QColor resolveColour(std::uint32_t colour, const QPalette& palette) {
    if (const auto role = paletteRoleFor(colour)) {
        return palette.color(QPalette::Active, *role);
    }
    if (isSystemColour(colour)) {
        return palette.color(QPalette::Active, QPalette::Base);
    }
    return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                  static_cast<int>((colour >> 16) & 0xFFu));
}

} // namespace tarvex::platform
