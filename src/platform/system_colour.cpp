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

std::optional<FieldRoles> fieldRolesFor(std::uint32_t colour) {
    switch (paletteRoleFor(colour).value_or(QPalette::NoRole)) {
    case QPalette::Base:
    case QPalette::HighlightedText:
        return FieldRoles{QPalette::Base, QPalette::Text};
    case QPalette::Window:
        return FieldRoles{QPalette::Window, QPalette::WindowText};
    case QPalette::Button:
        return FieldRoles{QPalette::Button, QPalette::WindowText};
    default:
        return std::nullopt;
    }
}

void setFieldBackground(QPalette& field, std::uint32_t colour, const QPalette& system) {
    const std::optional<FieldRoles> roles = fieldRolesFor(colour);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        if (roles) {
            field.setColor(group, QPalette::Base, system.color(group, roles->background));
            field.setColor(group, QPalette::Text, system.color(group, roles->text));
        } else if (isSystemColour(colour)) {
            field.setColor(group, QPalette::Base, system.color(group, QPalette::Base));
            field.setColor(group, QPalette::Text, system.color(group, QPalette::Text));
        } else {
            field.setColor(group, QPalette::Base, resolveColour(colour, system));
        }
    }
}

} // namespace tarvex::platform
