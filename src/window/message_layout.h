// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "character_boundaries.h"

#include <QFont>
#include <QHash>
#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

class QTextLayout;

namespace tarvex::window {

// How the message text is broken into rows and where each character stands in
// them, with no widget: the view paints and edits by it, tests measure it.
// Positions count UTF-16 units and fall only between whole characters:
// Unicode's extended grapheme clusters (a letter with its marks, an emoji
// sequence, a Hangul syllable, CR LF). A row is measured one character at a
// time, so that a cipher text of megabytes on one line shows at once; a row
// holding right-to-left text is shaped whole, in its visual order, and the
// caret steps through it as it is seen.
class MessageLayout {
public:
    // [start, end) of the text shown in one row; a line break after end is not part of it.
    struct Row {
        std::size_t start;
        std::size_t end;
    };

    // Room between the frames of control names: each frame stands this far
    // inside its cell on either side.
    static constexpr qreal kFrameGap = 1;

    MessageLayout();
    ~MessageLayout();

    void setFont(const QFont& font);
    const QFont& font() const { return font_; }
    const QFont& nameFont() const { return nameFont_; }
    int rowHeight() const { return rowHeight_; }
    int ascent() const { return ascent_; }
    qreal lineBreakWidth() const { return lineBreakWidth_; }

    // Breaks `text` into rows of at most `width`; keeps a reference to it until the next call.
    void layOut(const QString& text, qreal width);
    const std::vector<Row>& rows() const { return rows_; }
    std::size_t rowOf(std::size_t position, bool atRowEnd) const;

    // Whole characters.
    std::size_t nextPosition(std::size_t position) const;
    std::size_t previousPosition(std::size_t position) const;
    bool isInsideLineBreak(std::size_t position) const;
    // The start of the character that position falls in (itself between characters).
    std::size_t startOfCharacter(std::size_t position) const;
    std::size_t nextWord(std::size_t position) const;
    std::size_t previousWord(std::size_t position) const;
    std::pair<std::size_t, std::size_t> wordAround(std::size_t position) const;

    // Where the caret is: at a wrap the end of one row and the start of the
    // next are the same position.
    struct Caret {
        std::size_t position;
        bool atRowEnd;
    };
    // One character to the right or left as the rows show it. Within a row
    // every boundary is one step, in the order seen; past a row's end the caret
    // goes on to the row before or after it, as the row's direction reads.
    Caret rightOf(Caret caret) const;
    Caret leftOf(Caret caret) const;

    // Where the caret stands before `position` in its row, from the row's left edge.
    qreal xOf(std::size_t row, std::size_t position) const;
    // The position nearest x in a row, and whether it is that row's end.
    std::pair<std::size_t, bool> positionAtX(std::size_t row, qreal x) const;
    // The left edge and the width of the character at position (the line break's at a row's end).
    std::pair<qreal, qreal> extentOf(std::size_t position) const;

    // Whether a row is shaped whole; then shapedRow() lays it out, each
    // control as wide as its frame.
    bool isShaped(std::size_t row) const;
    // Whether the unit is a control drawn as its framed name.
    bool isFramed(char16_t unit) const;
    std::unique_ptr<QTextLayout> shapedRow(std::size_t row) const;

    // A row shaped whole as the caret meets it: each boundary once, from left
    // to right, where the caret stands there, and each character's edges.
    struct VisualRow {
        struct Stop {
            std::size_t position;
            qreal x;
        };
        struct Extent {
            std::size_t start;
            qreal left;
            qreal right;
        };
        std::vector<Stop> stops;
        std::vector<Extent> characters; // in the order of the text
    };
    VisualRow visualRow(std::size_t row) const;

    // One character in a simple row: what to draw, and the framed name of a control.
    struct Cell {
        std::size_t end;
        qreal width;
        QString shown;   // empty for a tab
        QString control; // the name drawn in a frame, or empty
    };
    Cell cellAt(std::size_t position, qreal x) const;

private:
    char32_t codePointAt(std::size_t position) const;
    bool isBlankAt(std::size_t position) const;
    qreal advanceOf(std::size_t position, std::size_t end, qreal x) const;
    // The width of one UTF-16 unit standing alone, looked up in pages filled on first use.
    qreal unitAdvance(char16_t unit) const;
    std::size_t characterEnd(std::size_t position) const {
        return boundaries_.quickCharacterEnd(*text_, position);
    }
    QString shownText(std::size_t from, std::size_t to) const;

    bool readsRightToLeft(std::size_t row) const;
    Caret step(Caret caret, bool toRight) const;
    // The stop next to position in its row, or npos at the row's end that way.
    std::size_t stepInRow(std::size_t row, std::size_t position, bool toRight) const;
    // The stop at a row's left or right end.
    std::size_t endStop(std::size_t row, bool right) const;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    QFont font_;
    QFont nameFont_;
    qreal lineBreakWidth_ = 0;
    int rowHeight_ = 1;
    int ascent_ = 0;
    // The characters below 256, looked up for every cipher-text code.
    std::array<qreal, 256> advances_{};
    std::array<QString, 256> shown_;
    std::array<QString, 256> controlNames_;
    mutable QHash<QString, qreal> clusterAdvances_;
    struct UnitPage {
        std::array<qreal, 256> advances; // NaN until measured
    };
    qreal measureUnit(char16_t unit) const;
    mutable std::array<std::unique_ptr<UnitPage>, 256> unitPages_;
    CharacterBoundaries boundaries_;

    const QString* text_;
    std::vector<Row> rows_;
};

} // namespace tarvex::window
