// SPDX-License-Identifier: GPL-3.0-or-later

#include "control_pictures.h"

#include <array>

namespace tarvex::window {

namespace {

constexpr char32_t kTab = 0x09;
constexpr char32_t kDelete = 0x7F;
constexpr char32_t kFirstC1 = 0x80;
constexpr char32_t kSoftHyphen = 0xAD;
constexpr char16_t kFirstControlPicture = 0x2400; // U+2400..U+241F stand for U+0000..U+001F
constexpr char16_t kDeletePicture = 0x2421;
// The C1 controls have no pictures of their own; any neutral symbol holds a
// frame's room.
constexpr char16_t kC1StandIn = 0x2426;

struct Name {
    std::u16string_view name;
    std::u16string_view words;
};

// The names Unicode gives the controls, the abbreviations drawn and the words read.
constexpr std::array<Name, 32> kC0 = {{
    {u"NUL", u"null"}, {u"SOH", u"start of heading"}, {u"STX", u"start of text"}, {u"ETX", u"end of text"},
    {u"EOT", u"end of transmission"}, {u"ENQ", u"enquiry"}, {u"ACK", u"acknowledge"}, {u"BEL", u"bell"},
    {u"BS", u"backspace"}, {}, {u"LF", u"line feed"}, {u"VT", u"vertical tab"},
    {u"FF", u"form feed"}, {u"CR", u"carriage return"}, {u"SO", u"shift out"}, {u"SI", u"shift in"},
    {u"DLE", u"data link escape"}, {u"DC1", u"device control one"}, {u"DC2", u"device control two"},
    {u"DC3", u"device control three"}, {u"DC4", u"device control four"}, {u"NAK", u"negative acknowledge"},
    {u"SYN", u"synchronous idle"}, {u"ETB", u"end of block"}, {u"CAN", u"cancel"}, {u"EM", u"end of medium"},
    {u"SUB", u"substitute"}, {u"ESC", u"escape"}, {u"FS", u"file separator"}, {u"GS", u"group separator"},
    {u"RS", u"record separator"}, {u"US", u"unit separator"},
}};

// Two names are shortened so that a message of nothing but controls still
// counts its reading in an int.
constexpr std::array<Name, 32> kC1 = {{
    {u"PAD", u"padding character"}, {u"HOP", u"high octet preset"}, {u"BPH", u"break permitted here"},
    {u"NBH", u"no break here"}, {u"IND", u"index"}, {u"NEL", u"next line"},
    {u"SSA", u"start of selected area"}, {u"ESA", u"end of selected area"},
    {u"HTS", u"character tabulation set"}, {u"HTJ", u"tabulation with justification"},
    {u"VTS", u"line tabulation set"}, {u"PLD", u"partial line forward"}, {u"PLU", u"partial line backward"},
    {u"RI", u"reverse line feed"}, {u"SS2", u"single shift two"}, {u"SS3", u"single shift three"},
    {u"DCS", u"device control string"}, {u"PU1", u"private use one"}, {u"PU2", u"private use two"},
    {u"STS", u"set transmit state"}, {u"CCH", u"cancel character"}, {u"MW", u"message waiting"},
    {u"SPA", u"start of guarded area"}, {u"EPA", u"end of guarded area"}, {u"SOS", u"start of string"},
    {u"SGC", u"single graphic introducer"}, {u"SCI", u"single character introducer"},
    {u"CSI", u"control sequence introducer"}, {u"ST", u"string terminator"},
    {u"OSC", u"operating system command"}, {u"PM", u"privacy message"}, {u"APC", u"application program command"},
}};

constexpr std::array<ControlPicture, 0xA0> makeTable() {
    std::array<ControlPicture, 0xA0> table{};
    for (char32_t ch = 0; ch < 0x20; ++ch) {
        table[ch] = {kC0[ch].name, kC0[ch].words, static_cast<char16_t>(kFirstControlPicture + ch)};
    }
    table[kDelete] = {u"DEL", u"delete", kDeletePicture};
    for (char32_t ch = kFirstC1; ch < 0xA0; ++ch) {
        table[ch] = {kC1[ch - kFirstC1].name, kC1[ch - kFirstC1].words, kC1StandIn};
    }
    return table;
}

constexpr std::array<ControlPicture, 0xA0> kTable = makeTable();
constexpr ControlPicture kSoftHyphenPicture = {{}, {}, u'\u2010'};

constexpr bool readingsFit() {
    for (const ControlPicture& picture : kTable) {
        if (picture.words.size() + 2 > kLongestControlReading) return false;
    }
    return true;
}
static_assert(readingsFit());

} // namespace

const ControlPicture* controlPictureOf(char32_t ch) {
    if (ch == kSoftHyphen) return &kSoftHyphenPicture;
    if (ch >= kTable.size() || ch == kTab || (ch >= 0x20 && ch < kDelete)) return nullptr;
    return &kTable[ch];
}

} // namespace tarvex::window
