// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_codec.h"

namespace tarvex::window::codec {

namespace {

constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kLineSeparator = 0x2028;

bool isLineBreakCharacter(char32_t ch) {
    return ch == u'\n' || ch == u'\r' || ch == kParagraphSeparator || ch == kLineSeparator;
}

} // namespace

std::string textFromForeignText(QStringView text) {
    return lineBreaksUnified(text).toStdString();
}

QString lineBreaksUnified(QStringView text) {
    QString unified;
    unified.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (isLineBreakCharacter(ch)) {
            if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            unified.append(u"\r\n");
        } else {
            unified.append(QChar(ch));
        }
    }
    return unified;
}

} // namespace tarvex::window::codec
