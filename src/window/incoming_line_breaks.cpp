// SPDX-License-Identifier: GPL-3.0-or-later

#include "incoming_line_breaks.h"

#include "exchange/utf8_of.h"
#include "text/line_breaks.h"

#include <algorithm>

namespace tarvex::window {

namespace {

constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kLineSeparator = 0x2028;

bool isUnicodeSeparator(QChar ch) {
    return ch.unicode() == kParagraphSeparator || ch.unicode() == kLineSeparator;
}

// Written straight into a QString, the string the area keeps its text in.
QString crLfFromLineBreaks(QStringView text) {
    const std::u16string_view units(text.utf16(), static_cast<std::size_t>(text.size()));
    QString unified(static_cast<qsizetype>(text::crLfSizeFromLineBreaks(units)), Qt::Uninitialized);
    text::writeCrLfFromLineBreaks(units, reinterpret_cast<char16_t*>(unified.data()));
    return unified;
}

} // namespace

QString lineBreaksUnified(QStringView text) {
    // Typed or pasted, these break the line as LF does.
    if (std::any_of(text.begin(), text.end(), isUnicodeSeparator)) {
        QString separated = text.toString();
        std::replace_if(separated.begin(), separated.end(), isUnicodeSeparator, QChar(u'\n'));
        return crLfFromLineBreaks(separated);
    }
    return crLfFromLineBreaks(text);
}

secret::String textFromForeignText(QStringView text) {
    return exchange::utf8Of(lineBreaksUnified(text));
}

} // namespace tarvex::window
