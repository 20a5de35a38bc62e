// SPDX-License-Identifier: GPL-3.0-or-later

#include "character_boundaries.h"

#include <QString>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <vector>

namespace tarvex::window {

namespace {

// Between two probes: controls, which the finder breaks before and after
// whatever stands around them, and a Latin letter, so that no probe's run
// takes the script of the one before it.
constexpr char16_t kSeparator[] = u"\u0001a\u0001";
// The smallest window the finder searches; it doubles while no boundary shows.
constexpr std::size_t kFirstWindow = 32;
constexpr std::size_t kStackWindow = 512;

constexpr char16_t kCombiningDiaeresis = 0x0308;
constexpr char16_t kZeroWidthJoiner = 0x200D;
constexpr char16_t kPictograph = 0x2764;

// Neighbours that cover every way in which the finder may join two units:
// something before a unit that may hold on to it (a letter, each kind of
// conjoining jamo, CR), and something after it, with what may stand before it.
constexpr const char16_t* kBefore[] = {u"a", u"\u1100", u"\u1161", u"\u11A8", u"\r"};
struct After {
    const char16_t* before;
    const char16_t* after;
};
constexpr After kAfter[] = {
    {u"", u"a"},           {u"", u"\u1100"}, {u"", u"\u1161"}, {u"", u"\u11A8"}, {u"", u"\uAC00"},
    {u"", u"\uAC01"},      {u"", u"\n"},
    {u"\u2764", u"\u2764"}, // a pictograph, joined to another by a zero-width joiner
    {u"\u0915", u"\u0915"}, // a consonant, joined to another by a virama
};

// Marks of each kind from scripts that the finder leaves alone, as long in
// UTF-16 as the mark they stand for: one that a pictograph sequence may hold
// (Extend), one that it may not (SpacingMark), and a mark that joins nothing.
constexpr char32_t kExtendingMark[] = {0x0308, 0x1D167};
constexpr char32_t kSpacingMark[] = {0x1B04, 0x11000};
constexpr char32_t kLoneMark[] = {u'a', 0x10000};

bool isMark(char32_t ch) {
    const QChar::Category category = QChar::category(ch);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

// Characters that the finder breaks around whatever they are, like the separator.
bool isControl(char32_t ch) {
    const QChar::Category category = QChar::category(ch);
    return category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
}

char32_t codePointAt(QStringView text, qsizetype i) {
    const QChar ch = text[i];
    if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        return QChar::surrogateToUcs4(ch, text[i + 1]);
    }
    return ch.unicode();
}

bool breaksAt(QStringView text, qsizetype at) {
    std::array<unsigned char, kStackWindow> buffer;
    const bool fits = static_cast<std::size_t>(text.size()) < buffer.size();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size(),
                               fits ? buffer.data() : nullptr, fits ? static_cast<qsizetype>(buffer.size()) : 0);
    finder.setPosition(at);
    return finder.isAtBoundary();
}

// The mark of the same kind from a script the finder leaves alone.
char32_t standInFor(char32_t mark) {
    const QString alone = QString::fromUcs4(&mark, 1);
    const std::size_t wide = alone.size() > 1 ? 1 : 0;
    if (breaksAt(QStringLiteral("a") + alone, 1)) return kLoneMark[wide];
    const QString sequence = QStringLiteral("a") + QChar(kPictograph) + alone + QChar(kZeroWidthJoiner);
    return breaksAt(sequence + QChar(kPictograph), sequence.size()) ? kSpacingMark[wide] : kExtendingMark[wide];
}

} // namespace

CharacterBoundaries::CharacterBoundaries() = default;
CharacterBoundaries::~CharacterBoundaries() = default;
CharacterBoundaries::CharacterBoundaries(CharacterBoundaries&&) noexcept = default;
CharacterBoundaries& CharacterBoundaries::operator=(CharacterBoundaries&&) noexcept = default;

const CharacterBoundaries::Page& CharacterBoundaries::learnPage(char16_t unit) const {
    auto page = std::make_unique<Page>();
    page->joining.fill(0);
    page->standIn.fill(0);
    const auto first = static_cast<char16_t>(unit & 0xFF00);
    if (QChar::isSurrogate(first)) {
        // Half a code point: left to the search.
        page->joining.fill(kJoinsPrevious | kJoinsNext);
    } else {
        // Every probe in one text, each after a separator: where the finder
        // sees no boundary, the unit joins that neighbour.
        struct Probe {
            std::size_t low;
            qsizetype at;
            Joining joining;
        };
        QString probes;
        std::vector<Probe> asked;
        for (std::size_t low = 0; low < 256; ++low) {
            const QChar ch(static_cast<char16_t>(first + low));
            for (const char16_t* before : kBefore) {
                probes += QStringView(kSeparator);
                probes += QStringView(before);
                asked.push_back({low, probes.size(), kJoinsPrevious});
                probes += ch;
            }
            for (const After& after : kAfter) {
                probes += QStringView(kSeparator);
                probes += QStringView(after.before);
                probes += ch;
                asked.push_back({low, probes.size(), kJoinsNext});
                probes += QStringView(after.after);
            }
            // A mark follows any letter, unless the finder joins the letter's script into syllables.
            probes += QStringView(kSeparator);
            probes += ch;
            if (!isControl(ch.unicode())) asked.push_back({low, probes.size(), kSyllables});
            probes += QChar(kCombiningDiaeresis);
        }
        probes += QStringView(kSeparator);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, probes);
        for (const Probe& probe : asked) {
            finder.setPosition(probe.at);
            const bool boundary = finder.isAtBoundary();
            if (probe.joining == kSyllables ? boundary : !boundary) page->joining[probe.low] |= probe.joining;
        }
        for (std::size_t low = 0; low < 256; ++low) {
            const auto ch = static_cast<char16_t>(first + low);
            if (isMark(ch)) page->standIn[low] = static_cast<char16_t>(standInFor(ch));
        }
    }
    std::unique_ptr<Page>& slot = pages_[unit >> 8];
    slot = std::move(page);
    return *slot;
}

std::size_t CharacterBoundaries::searchWindow(QStringView text, std::size_t start, std::size_t length) const {
    const QStringView part = text.mid(static_cast<qsizetype>(start), static_cast<qsizetype>(length));
    // A run takes the script of its first letter or mark: marks ahead of any
    // letter go as stand-ins.
    QString replaced;
    for (qsizetype i = 0; i < part.size();) {
        const char32_t ch = codePointAt(part, i);
        const qsizetype units = ch > 0xFFFF ? 2 : 1;
        if (isMark(ch)) {
            if (replaced.isNull()) replaced = part.toString();
            const char32_t standIn = ch > 0xFFFF ? standInFor(ch) : page(static_cast<char16_t>(ch)).standIn[ch & 0xFF];
            const QString shown = QString::fromUcs4(&standIn, 1);
            if (shown.size() == units) replaced.replace(i, units, shown);
        } else if (QChar::script(ch) > QChar::Script_Common) {
            break;
        }
        i += units;
    }
    const QStringView searched = replaced.isNull() ? part : QStringView(replaced);
    std::array<unsigned char, kStackWindow> buffer;
    const bool fits = static_cast<std::size_t>(searched.size()) < buffer.size();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, searched.data(), searched.size(),
                               fits ? buffer.data() : nullptr, fits ? static_cast<qsizetype>(buffer.size()) : 0);
    const qsizetype found = finder.toNextBoundary();
    return found > 0 ? static_cast<std::size_t>(found) : 0;
}

// From a boundary between two units that plainly stand apart, nothing before
// it bears on the boundaries after it (a run of regional indicators, a
// pictograph sequence or a syllable never spans it), so the finder may start there.
bool CharacterBoundaries::isSafeStart(QStringView text, std::size_t position) const {
    const auto size = static_cast<std::size_t>(text.size());
    if (position == 0 || position >= size) return true;
    const char16_t* units = text.utf16();
    const std::uint8_t before = joiningOf(units[position - 1]);
    const std::uint8_t after = joiningOf(units[position]);
    return (before & kJoinsNext) == 0 && (after & kJoinsPrevious) == 0 && (before & after & kSyllables) == 0;
}

std::size_t CharacterBoundaries::safeStartBefore(QStringView text, std::size_t position) const {
    while (!isSafeStart(text, position)) --position;
    return position;
}

std::size_t CharacterBoundaries::characterEnd(QStringView text, std::size_t start) const {
    const auto size = static_cast<std::size_t>(text.size());
    if (start >= size) return size;
    // Whether a unit is a boundary depends only on what comes before it, so
    // every boundary the finder sees inside the window is one in the whole
    // text; the window's own end may not be.
    for (std::size_t window = kFirstWindow;; window *= 2) {
        std::size_t end = std::min(size, start + window);
        if (end < size && text[static_cast<qsizetype>(end - 1)].isHighSurrogate()) ++end;
        const std::size_t found = searchWindow(text, start, end - start);
        if (found > 0 && (start + found < end || end == size)) return start + found;
        if (end == size) return size;
    }
}

std::size_t CharacterBoundaries::next(QStringView text, std::size_t position) const {
    const auto size = static_cast<std::size_t>(text.size());
    if (position >= size) return size;
    std::size_t boundary = safeStartBefore(text, position);
    while (boundary <= position) boundary = quickCharacterEnd(text, boundary);
    return boundary;
}

std::size_t CharacterBoundaries::previous(QStringView text, std::size_t position) const {
    const auto size = static_cast<std::size_t>(text.size());
    position = std::min(position, size);
    if (position == 0) return 0;
    std::size_t boundary = safeStartBefore(text, position - 1);
    for (std::size_t end = quickCharacterEnd(text, boundary); end < position; end = quickCharacterEnd(text, end)) {
        boundary = end;
    }
    return boundary;
}

std::size_t CharacterBoundaries::startOf(QStringView text, std::size_t position) const {
    const auto size = static_cast<std::size_t>(text.size());
    if (position >= size) return size;
    std::size_t boundary = safeStartBefore(text, position);
    for (std::size_t end = quickCharacterEnd(text, boundary); end <= position; end = quickCharacterEnd(text, end)) {
        boundary = end;
    }
    return boundary;
}

} // namespace tarvex::window
