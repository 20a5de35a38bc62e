// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_codec.h"

#include "text/charset.h"

#include <array>

namespace tarvex::window::codec {

namespace {

constexpr unsigned char kCarriageReturn = 13;
constexpr unsigned char kTab = 9;
constexpr unsigned char kDelete = 127;
constexpr char16_t kControlPictures = 0x2400; // U+2400..U+241F for codes 0..31
constexpr char16_t kDeletePicture = 0x2421;
constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kLineSeparator = 0x2028;

// The five codes the set leaves as C1 controls have no picture of their own;
// they take the five spare symbols that follow the control pictures.
constexpr std::array<unsigned char, 5> kSpareControls = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
constexpr char16_t kSparePictures = 0x2422;

// The soft hyphen is drawn only where a line wraps; show it as a hyphen.
constexpr unsigned char kSoftHyphen = 0xAD;
constexpr char16_t kSoftHyphenPicture = 0x2010;

std::array<char16_t, 256> makeDisplayTable() {
    std::array<char16_t, 256> table{};
    for (unsigned code = 0; code < 256; ++code) {
        table[code] = static_cast<char16_t>(charset::toUnicode(static_cast<std::uint8_t>(code)));
    }
    for (unsigned code = 0; code < 32; ++code) {
        table[code] = static_cast<char16_t>(kControlPictures + code);
    }
    table[kTab] = u'\t';
    table[kDelete] = kDeletePicture;
    for (std::size_t i = 0; i < kSpareControls.size(); ++i) {
        table[kSpareControls[i]] = static_cast<char16_t>(kSparePictures + i);
    }
    table[kSoftHyphen] = kSoftHyphenPicture;
    return table;
}

const std::array<char16_t, 256>& displayTable() {
    static const auto table = makeDisplayTable();
    return table;
}

bool isLineBreakCharacter(char32_t ch) {
    return ch == u'\n' || ch == u'\r' || ch == kParagraphSeparator || ch == kLineSeparator;
}

} // namespace

char16_t displayCharacter(unsigned char code) {
    return displayTable()[code];
}

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

ControlName controlName(unsigned char code) {
    static constexpr ControlName kC0[32] = {
        {"NUL", "null"}, {"SOH", "start of heading"}, {"STX", "start of text"}, {"ETX", "end of text"},
        {"EOT", "end of transmission"}, {"ENQ", "enquiry"}, {"ACK", "acknowledge"}, {"BEL", "bell"},
        {"BS", "backspace"}, {}, {"LF", "line feed"}, {"VT", "vertical tab"},
        {"FF", "form feed"}, {"CR", "carriage return"}, {"SO", "shift out"}, {"SI", "shift in"},
        {"DLE", "data link escape"}, {"DC1", "device control one"}, {"DC2", "device control two"},
        {"DC3", "device control three"}, {"DC4", "device control four"}, {"NAK", "negative acknowledge"},
        {"SYN", "synchronous idle"}, {"ETB", "end of block"}, {"CAN", "cancel"}, {"EM", "end of medium"},
        {"SUB", "substitute"}, {"ESC", "escape"}, {"FS", "file separator"}, {"GS", "group separator"},
        {"RS", "record separator"}, {"US", "unit separator"}};
    if (code < 32) return kC0[code];
    switch (code) {
    case kDelete: return {"DEL", "delete"};
    case 0x81: return {"HOP", "high octet preset"};
    case 0x8D: return {"RI", "reverse line feed"};
    case 0x8F: return {"SS3", "single shift three"};
    case 0x90: return {"DCS", "device control string"};
    case 0x9D: return {"OSC", "operating system command"};
    default: return {};
    }
}

} // namespace tarvex::window::codec
