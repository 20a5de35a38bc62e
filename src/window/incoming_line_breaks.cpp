// SPDX-License-Identifier: GPL-3.0-or-later

#include "incoming_line_breaks.h"

#include "text/line_breaks.h"

#include <algorithm>

namespace tarvex::window {

namespace {

constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kLineSeparator = 0x2028;

bool isUnicodeSeparator(char16_t ch) {
    return ch == kParagraphSeparator || ch == kLineSeparator;
}

} // namespace

QString lineBreaksUnified(QStringView text) {
    const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    // Typed or pasted, these break the line as LF does.
    if (std::any_of(units.begin(), units.end(), isUnicodeSeparator)) {
        std::u16string separated(units);
        std::replace_if(separated.begin(), separated.end(), isUnicodeSeparator, u'\n');
        return QString::fromStdU16String(text::crLfFromLineBreaks(separated));
    }
    return QString::fromStdU16String(text::crLfFromLineBreaks(units));
}

std::string textFromForeignText(QStringView text) {
    return lineBreaksUnified(text).toStdString();
}

} // namespace tarvex::window
