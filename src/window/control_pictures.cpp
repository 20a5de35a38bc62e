// SPDX-License-Identifier: GPL-3.0-or-later

#include "control_pictures.h"

#include "i18n/marks.h"
#include "platform/qt_text.h"

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
    std::string_view words;
};

// The names Unicode gives the controls, the abbreviations drawn and the words
// read, in English: controlWords() gives them in the session's language.
constexpr std::array<Name, 32> kC0 = {{
    /* TRANSLATORS: the name of a control character, which a screen reader says
       in brackets ([null]) where the message holds it. This and every other
       text of the context "control character": at most 29 characters, or the
       English is read instead. */
    {u"NUL", NC_("control character", "null")},
    {u"SOH", NC_("control character", "start of heading")},
    {u"STX", NC_("control character", "start of text")},
    {u"ETX", NC_("control character", "end of text")},
    {u"EOT", NC_("control character", "end of transmission")},
    {u"ENQ", NC_("control character", "enquiry")},
    {u"ACK", NC_("control character", "acknowledge")},
    {u"BEL", NC_("control character", "bell")},
    {u"BS", NC_("control character", "backspace")},
    {},
    {u"LF", NC_("control character", "line feed")},
    {u"VT", NC_("control character", "vertical tab")},
    {u"FF", NC_("control character", "form feed")},
    {u"CR", NC_("control character", "carriage return")},
    {u"SO", NC_("control character", "shift out")},
    {u"SI", NC_("control character", "shift in")},
    {u"DLE", NC_("control character", "data link escape")},
    {u"DC1", NC_("control character", "device control one")},
    {u"DC2", NC_("control character", "device control two")},
    {u"DC3", NC_("control character", "device control three")},
    {u"DC4", NC_("control character", "device control four")},
    {u"NAK", NC_("control character", "negative acknowledge")},
    {u"SYN", NC_("control character", "synchronous idle")},
    {u"ETB", NC_("control character", "end of block")},
    {u"CAN", NC_("control character", "cancel")},
    {u"EM", NC_("control character", "end of medium")},
    {u"SUB", NC_("control character", "substitute")},
    {u"ESC", NC_("control character", "escape")},
    {u"FS", NC_("control character", "file separator")},
    {u"GS", NC_("control character", "group separator")},
    {u"RS", NC_("control character", "record separator")},
    {u"US", NC_("control character", "unit separator")},
}};

// Two names are shortened so that a message of nothing but controls still
// counts its reading in an int.
constexpr std::array<Name, 32> kC1 = {{
    /* TRANSLATORS: the name of a control character, which a screen reader says
       in brackets ([null]) where the message holds it. This and every other
       text of the context "control character": at most 29 characters, or the
       English is read instead. */
    {u"PAD", NC_("control character", "padding character")},
    {u"HOP", NC_("control character", "high octet preset")},
    {u"BPH", NC_("control character", "break permitted here")},
    {u"NBH", NC_("control character", "no break here")},
    {u"IND", NC_("control character", "index")},
    {u"NEL", NC_("control character", "next line")},
    {u"SSA", NC_("control character", "start of selected area")},
    {u"ESA", NC_("control character", "end of selected area")},
    {u"HTS", NC_("control character", "character tabulation set")},
    {u"HTJ", NC_("control character", "tabulation with justification")},
    {u"VTS", NC_("control character", "line tabulation set")},
    {u"PLD", NC_("control character", "partial line forward")},
    {u"PLU", NC_("control character", "partial line backward")},
    {u"RI", NC_("control character", "reverse line feed")},
    {u"SS2", NC_("control character", "single shift two")},
    {u"SS3", NC_("control character", "single shift three")},
    {u"DCS", NC_("control character", "device control string")},
    {u"PU1", NC_("control character", "private use one")},
    {u"PU2", NC_("control character", "private use two")},
    {u"STS", NC_("control character", "set transmit state")},
    {u"CCH", NC_("control character", "cancel character")},
    {u"MW", NC_("control character", "message waiting")},
    {u"SPA", NC_("control character", "start of guarded area")},
    {u"EPA", NC_("control character", "end of guarded area")},
    {u"SOS", NC_("control character", "start of string")},
    {u"SGC", NC_("control character", "single graphic introducer")},
    {u"SCI", NC_("control character", "single character introducer")},
    {u"CSI", NC_("control character", "control sequence introducer")},
    {u"ST", NC_("control character", "string terminator")},
    {u"OSC", NC_("control character", "operating system command")},
    {u"PM", NC_("control character", "privacy message")},
    {u"APC", NC_("control character", "application program command")},
}};

constexpr std::array<ControlPicture, 0xA0> makeTable() {
    std::array<ControlPicture, 0xA0> table{};
    for (char32_t ch = 0; ch < 0x20; ++ch) {
        table[ch] = {kC0[ch].name, kC0[ch].words, static_cast<char16_t>(kFirstControlPicture + ch)};
    }
    /* TRANSLATORS: the name of a control character, at most 29 characters (see "null"). */
    table[kDelete] = {u"DEL", NC_("control character", "delete"), kDeletePicture};
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

QString controlWords(const ControlPicture& picture) {
    const QString english = platform::qt(picture.words);
    if (picture.words.empty()) return english;
    const QString said = platform::qt(i18n::text("control character", picture.words));
    return static_cast<std::size_t>(said.size()) + 2 <= kLongestControlReading ? said : english;
}

const ControlPicture* controlPictureOf(char32_t ch) {
    if (ch == kSoftHyphen) return &kSoftHyphenPicture;
    if (ch >= kTable.size() || ch == kTab || (ch >= 0x20 && ch < kDelete)) return nullptr;
    return &kTable[ch];
}

} // namespace tarvex::window
