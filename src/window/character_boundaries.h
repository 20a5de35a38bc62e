// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tarvex::window {

// Where the characters of a text begin and end: Unicode's extended grapheme
// clusters, as Qt's QTextBoundaryFinder finds them. Positions count UTF-16
// units.
//
// Most text is units that stand alone, and a cipher text of megabytes must lay
// out at once: what each unit of the Basic Multilingual Plane may join is
// learnt from the finder itself, a page of 256 units at a time, so that such
// units take a table lookup; the rest is searched with the finder over a few
// units from a boundary on.
//
// The finder joins the letters of some scripts into syllables (Devanagari and
// its kin, Thai, Tibetan, Myanmar, Khmer), which it takes for the script of the
// first letter or mark of a run. A combining mark ahead of any letter has
// nothing to make a syllable with, so it is handed to the finder as a mark of
// the same kind from a script that it leaves alone: otherwise a mark after a
// blank or a control would start a character of its own.
class CharacterBoundaries {
public:
    CharacterBoundaries();
    ~CharacterBoundaries();
    CharacterBoundaries(CharacterBoundaries&&) noexcept;
    CharacterBoundaries& operator=(CharacterBoundaries&&) noexcept;

    // The end of the character that starts at `start`, which must be a boundary.
    std::size_t characterEnd(QStringView text, std::size_t start) const;
    // The same, with no search when the next unit plainly starts a character of its own.
    std::size_t quickCharacterEnd(QStringView text, std::size_t start) const {
        const auto size = static_cast<std::size_t>(text.size());
        if (start + 1 >= size) return size;
        const char16_t* units = text.utf16();
        return breaksBetween(units[start], units[start + 1]) ? start + 1 : characterEnd(text, start);
    }

    // The first boundary after position (the end at the end), the last one
    // before it (0 at the start), and the last one at or before it.
    std::size_t next(QStringView text, std::size_t position) const;
    std::size_t previous(QStringView text, std::size_t position) const;
    std::size_t startOf(QStringView text, std::size_t position) const;

private:
    // What the finder does with a unit and its neighbours.
    enum Joining : std::uint8_t {
        kJoinsPrevious = 1, // something before it holds on to it (a mark, a jamo vowel, LF after CR)
        kJoinsNext = 2,     // it holds on to something after it (a prepended sign, a leading jamo, CR)
        kSyllables = 4,     // its script is joined into syllables
    };
    struct Page {
        std::array<std::uint8_t, 256> joining;
        // For a combining mark, one of the same kind that the finder never joins into syllables.
        std::array<char16_t, 256> standIn;
    };

    // Whether the finder puts a boundary between two units, whatever stands around them.
    bool breaksBetween(char16_t before, char16_t after) const {
        return (joiningOf(before) & (kJoinsNext | kSyllables)) == 0 &&
               (joiningOf(after) & (kJoinsPrevious | kSyllables)) == 0;
    }
    std::uint8_t joiningOf(char16_t unit) const {
        return page(unit).joining[unit & 0xFF];
    }
    const Page& page(char16_t unit) const {
        const Page* known = pages_[unit >> 8].get();
        return known != nullptr ? *known : learnPage(unit);
    }
    const Page& learnPage(char16_t unit) const;
    // The finder's first boundary after `start` (a boundary) within the next `length` units, or 0.
    std::size_t searchWindow(QStringView text, std::size_t start, std::size_t length) const;
    // A boundary at or before position from which the finder's answers hold.
    std::size_t safeStartBefore(QStringView text, std::size_t position) const;
    bool isSafeStart(QStringView text, std::size_t position) const;

    mutable std::array<std::unique_ptr<Page>, 256> pages_;
};

} // namespace tarvex::window
