// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_layout.h"

#include "control_pictures.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvex::window {

namespace {

constexpr char16_t kCarriageReturn = u'\r';
constexpr char16_t kLineFeed = u'\n';
constexpr char16_t kTab = u'\t';
constexpr qreal kTabStop = 80;
// Below this nothing joins the character before it: the combining marks start here.
constexpr char16_t kFirstJoining = 0x0300;

// Room around a control's name inside its frame.
constexpr qreal kNamePadding = 2;

bool isRightToLeft(char32_t ch) {
    const QChar::Direction direction = QChar::direction(ch);
    return direction == QChar::DirR || direction == QChar::DirAL || direction == QChar::DirRLE ||
           direction == QChar::DirRLO || direction == QChar::DirRLI;
}

} // namespace

MessageLayout::MessageLayout() : text_(nullptr) {}

MessageLayout::~MessageLayout() = default;

void MessageLayout::setFont(const QFont& font) {
    font_ = font;
    const QFontMetricsF metrics(font_);
    nameFont_ = font_;
    if (nameFont_.pointSizeF() > 0) {
        nameFont_.setPointSizeF(std::max<qreal>(5, nameFont_.pointSizeF() * 0.6));
    } else {
        nameFont_.setPixelSize(std::max(6, nameFont_.pixelSize() * 3 / 5));
    }
    const QFontMetricsF nameMetrics(nameFont_);
    for (char16_t ch = 0; ch < 256; ++ch) {
        const ControlPicture* picture = controlPictureOf(ch);
        controlNames_[ch] = picture != nullptr ? QString::fromUtf16(picture->name.data(),
                                                                    static_cast<qsizetype>(picture->name.size()))
                                               : QString();
        shown_[ch] = QString(QChar(picture != nullptr ? picture->standIn : ch));
        if (!controlNames_[ch].isEmpty()) {
            advances_[ch] = nameMetrics.horizontalAdvance(controlNames_[ch]) + 2 * (kNamePadding + kFrameGap);
        } else {
            advances_[ch] = ch == kTab ? 0 : metrics.horizontalAdvance(shown_[ch]);
        }
    }
    clusterAdvances_.clear();
    for (auto& page : unitPages_) page.reset();
    lineBreakWidth_ = metrics.horizontalAdvance(QLatin1Char(' '));
    rowHeight_ = std::max(1, qCeil(metrics.lineSpacing()));
    ascent_ = qCeil(metrics.ascent());
}

char32_t MessageLayout::codePointAt(std::size_t position) const {
    const QString& text = *text_;
    const auto i = static_cast<qsizetype>(position);
    const QChar ch = text[i];
    if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        return QChar::surrogateToUcs4(ch, text[i + 1]);
    }
    return ch.unicode();
}

bool MessageLayout::isBlankAt(std::size_t position) const {
    const char16_t ch = (*text_)[static_cast<qsizetype>(position)].unicode();
    return ch == u' ' || ch == kTab;
}

qreal MessageLayout::measureUnit(char16_t unit) const {
    std::unique_ptr<UnitPage>& page = unitPages_[unit >> 8];
    if (!page) {
        page = std::make_unique<UnitPage>();
        page->advances.fill(std::numeric_limits<qreal>::quiet_NaN());
    }
    qreal& advance = page->advances[unit & 0xFF];
    advance = QFontMetricsF(font_).horizontalAdvance(QChar(unit));
    return advance;
}

inline qreal MessageLayout::unitAdvance(char16_t unit) const {
    if (unit < 256) return advances_[unit];
    const UnitPage* page = unitPages_[unit >> 8].get();
    const qreal advance = page != nullptr ? page->advances[unit & 0xFF] : std::numeric_limits<qreal>::quiet_NaN();
    return std::isnan(advance) ? measureUnit(unit) : advance;
}

qreal MessageLayout::advanceOf(std::size_t position, std::size_t end, qreal x) const {
    const char16_t first = (*text_)[static_cast<qsizetype>(position)].unicode();
    if (end == position + 1 && !QChar::isSurrogate(first)) {
        if (first == kTab) {
            return (std::floor(x / kTabStop) + 1) * kTabStop - x;
        }
        return unitAdvance(first);
    }
    const QString cluster = text_->mid(static_cast<qsizetype>(position), static_cast<qsizetype>(end - position));
    auto known = clusterAdvances_.constFind(cluster);
    if (known == clusterAdvances_.constEnd()) {
        known = clusterAdvances_.insert(cluster, QFontMetricsF(font_).horizontalAdvance(cluster));
    }
    return *known;
}

MessageLayout::Cell MessageLayout::cellAt(std::size_t position, qreal x) const {
    const std::size_t end = characterEnd(position);
    const char16_t first = (*text_)[static_cast<qsizetype>(position)].unicode();
    Cell cell{end, advanceOf(position, end, x), {}, {}};
    if (end == position + 1 && first < 256) {
        cell.control = controlNames_[first];
        if (first != kTab) cell.shown = shown_[first];
    } else {
        cell.shown = text_->mid(static_cast<qsizetype>(position), static_cast<qsizetype>(end - position));
    }
    return cell;
}

void MessageLayout::layOut(const QString& text, qreal width) {
    text_ = &text;
    rows_.clear();
    const std::size_t size = static_cast<std::size_t>(text.size());
    const char16_t* units = QStringView(text).utf16();
    std::size_t rowStart = 0;
    std::size_t afterBlank = 0; // where the row may break after a blank, 0 if nowhere
    qreal x = 0;
    for (std::size_t i = 0; i < size;) {
        const char16_t unit = units[i];
        if (unit == kCarriageReturn && i + 1 < size && units[i + 1] == kLineFeed) {
            rows_.push_back({rowStart, i});
            i += 2;
            rowStart = i;
            afterBlank = 0;
            x = 0;
            continue;
        }
        // Cipher texts and most Latin text: nothing below the combining marks joins.
        const bool simple = unit < kFirstJoining && unit != kTab && unit != kCarriageReturn &&
                            (i + 1 == size || units[i + 1] < kFirstJoining);
        const std::size_t end = simple ? i + 1 : characterEnd(i);
        const bool blank = unit == u' ' || unit == kTab;
        qreal advance = simple ? (unit < 256 ? advances_[unit] : unitAdvance(unit))
                        : end == i + 1 && unit != kTab ? unitAdvance(unit) : advanceOf(i, end, x);
        // Blanks may hang past the edge; anything else starts a new row,
        // after the last blank if the row has one, or right here.
        while (x + advance > width && i > rowStart && !blank) {
            const std::size_t next = afterBlank > rowStart ? afterBlank : i;
            rows_.push_back({rowStart, next});
            rowStart = next;
            afterBlank = 0;
            x = 0;
            for (std::size_t j = rowStart; j < i;) {
                const std::size_t jEnd = characterEnd(j);
                x += advanceOf(j, jEnd, x);
                j = jEnd;
            }
            advance = advanceOf(i, end, x);
        }
        x += advance;
        if (blank) {
            afterBlank = end;
        }
        i = end;
    }
    rows_.push_back({rowStart, size});
}

std::size_t MessageLayout::rowOf(std::size_t position, bool atRowEnd) const {
    const auto after = std::upper_bound(rows_.begin(), rows_.end(), position,
                                        [](std::size_t p, const Row& row) { return p < row.start; });
    auto row = static_cast<std::size_t>(after - rows_.begin()) - 1;
    if (atRowEnd && row > 0 && rows_[row].start == position && rows_[row - 1].end == position) {
        --row;
    }
    return row;
}

bool MessageLayout::isInsideLineBreak(std::size_t position) const {
    const QString& text = *text_;
    const auto i = static_cast<qsizetype>(position);
    return i > 0 && i < text.size() && text[i - 1] == kCarriageReturn && text[i] == kLineFeed;
}

std::size_t MessageLayout::nextPosition(std::size_t position) const {
    return boundaries_.next(*text_, position);
}

std::size_t MessageLayout::previousPosition(std::size_t position) const {
    return boundaries_.previous(*text_, position);
}

std::size_t MessageLayout::startOfCharacter(std::size_t position) const {
    return boundaries_.startOf(*text_, position);
}

// Like Qt's editors: to the start of the next word, past the blanks after this one.
std::size_t MessageLayout::nextWord(std::size_t position) const {
    const std::size_t size = static_cast<std::size_t>(text_->size());
    const auto wordAt = [&](std::size_t p) {
        return p < size && !isBlankAt(p) && !isInsideLineBreak(p + 1) && !isInsideLineBreak(p);
    };
    if (position < size && !wordAt(position)) {
        // A blank or a line break: step over it before looking for the word.
        position = nextPosition(position);
    } else {
        while (wordAt(position)) {
            position = nextPosition(position);
        }
    }
    while (position < size && isBlankAt(position)) {
        ++position;
    }
    return position;
}

std::size_t MessageLayout::previousWord(std::size_t position) const {
    while (position > 0 && isBlankAt(position - 1)) {
        --position;
    }
    if (position > 0 && isInsideLineBreak(position - 1)) {
        return position - 2;
    }
    while (position > 0 && !isBlankAt(position - 1) && !isInsideLineBreak(position - 1)) {
        position = previousPosition(position);
    }
    return position;
}

std::pair<std::size_t, std::size_t> MessageLayout::wordAround(std::size_t position) const {
    const std::size_t size = static_cast<std::size_t>(text_->size());
    const auto inWord = [&](std::size_t p) {
        return !isBlankAt(p) && !isInsideLineBreak(p + 1) && !isInsideLineBreak(p);
    };
    std::size_t from = position;
    std::size_t to = position;
    while (from > 0 && inWord(from - 1)) {
        from = previousPosition(from);
    }
    while (to < size && inWord(to)) {
        to = nextPosition(to);
    }
    if (from == to && to < size) {
        to = nextPosition(to);
    }
    return {from, to};
}

bool MessageLayout::isShaped(std::size_t row) const {
    const Row& shown = rows_[row];
    for (std::size_t i = shown.start; i < shown.end; ++i) {
        const QChar ch = (*text_)[static_cast<qsizetype>(i)];
        if (ch.unicode() >= 0x0590 && isRightToLeft(codePointAt(i))) {
            return true;
        }
    }
    return false;
}

bool MessageLayout::isFramed(char16_t unit) const {
    return unit < 256 && unit != kTab && !controlNames_[unit].isEmpty();
}

// Controls stand in the shaped text as their pictures, which the bidi rules
// treat as neutral; each is widened to its frame, which the view draws over it.
QString MessageLayout::shownText(std::size_t from, std::size_t to) const {
    QString shown = text_->mid(static_cast<qsizetype>(from), static_cast<qsizetype>(to - from));
    for (QChar& ch : shown) {
        const char16_t value = ch.unicode();
        if (value < 256) ch = shown_[value].front();
    }
    return shown;
}

std::unique_ptr<QTextLayout> MessageLayout::shapedRow(std::size_t row) const {
    const Row& shown = rows_[row];
    auto layout = std::make_unique<QTextLayout>(shownText(shown.start, shown.end), font_);
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setTextDirection(Qt::LayoutDirectionAuto);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(kTabStop);
    layout->setTextOption(option);
    QList<QTextLayout::FormatRange> frames;
    const QFontMetricsF metrics(font_);
    const QString& text = layout->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = (*text_)[static_cast<qsizetype>(shown.start) + i].unicode();
        if (!isFramed(unit)) continue;
        QTextLayout::FormatRange frame;
        frame.start = static_cast<int>(i);
        frame.length = 1;
        frame.format.setFontLetterSpacingType(QFont::AbsoluteSpacing);
        frame.format.setFontLetterSpacing(advances_[unit] - metrics.horizontalAdvance(text[i]));
        frames.append(frame);
    }
    layout->setFormats(frames);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid()) {
        line.setLineWidth(1e6);
        line.setPosition(QPointF(0, 0));
    }
    layout->endLayout();
    return layout;
}

// The caret's stops in a shaped row. Each character has two edges and two
// boundaries, and in a row that mixes directions the edge where two runs meet
// is the place of two boundaries, while the row's own end may have none. So
// each edge is given one of the boundaries that touch it, every boundary one
// edge: then each step moves the caret by one character's width, and a walk
// from one end of the row to the other meets every boundary once.
MessageLayout::VisualRow MessageLayout::visualRow(std::size_t rowIndex) const {
    const Row& row = rows_[rowIndex];
    VisualRow visual;
    const auto layout = shapedRow(rowIndex);
    if (layout->lineCount() == 0) {
        visual.stops.push_back({row.start, 0});
        return visual;
    }
    const QTextLine line = layout->lineAt(0);
    const auto at = [&](std::size_t position) { return static_cast<int>(position - row.start); };

    std::vector<std::size_t> bounds{row.start};
    while (bounds.back() < row.end) bounds.push_back(std::min(characterEnd(bounds.back()), row.end));
    const std::size_t count = bounds.size() - 1;
    // Each character's edges, from its glyphs (Qt's caret places at the start of
    // a run take the run before it); the characters of a ligature share it.
    std::vector<bool> rightToLeft(count, false);
    const bool rowRightToLeft = layout->text().isRightToLeft();
    for (std::size_t k = 0; k < count; ++k) {
        qreal left = std::numeric_limits<qreal>::max();
        qreal right = std::numeric_limits<qreal>::lowest();
        rightToLeft[k] = rowRightToLeft;
        for (const QGlyphRun& run : layout->glyphRuns(at(bounds[k]), static_cast<int>(bounds[k + 1] - bounds[k]))) {
            const QList<QPointF> advances = run.rawFont().advancesForGlyphIndexes(run.glyphIndexes());
            const QList<QPointF> positions = run.positions();
            for (qsizetype g = 0; g < positions.size() && g < advances.size(); ++g) {
                left = std::min(left, positions[g].x());
                right = std::max(right, positions[g].x() + advances[g].x());
            }
            rightToLeft[k] = run.isRightToLeft();
        }
        const char16_t unit = (*text_)[static_cast<qsizetype>(bounds[k])].unicode();
        if (left > right) {
            // No glyph (a tab): where Qt puts the caret around it.
            const qreal leading = line.cursorToX(at(bounds[k]), QTextLine::Leading);
            const qreal trailing = line.cursorToX(at(bounds[k]), QTextLine::Trailing);
            left = std::min(leading, trailing);
            right = std::max(leading, trailing);
        } else if (bounds[k + 1] == bounds[k] + 1 && isFramed(unit)) {
            right = left + advances_[unit];
        }
        visual.characters.push_back({bounds[k], left, right});
    }
    for (std::size_t k = 0; k < count;) {
        std::size_t shared = k + 1;
        while (shared < count && visual.characters[shared].left == visual.characters[k].left &&
               visual.characters[shared].right == visual.characters[k].right) {
            ++shared;
        }
        const qreal left = visual.characters[k].left;
        const qreal width = (visual.characters[k].right - left) / static_cast<qreal>(shared - k);
        for (std::size_t i = k; i < shared; ++i) {
            const auto place = static_cast<qreal>(rightToLeft[i] ? shared - 1 - i : i - k);
            visual.characters[i].left = left + place * width;
            visual.characters[i].right = left + (place + 1) * width;
        }
        k = shared;
    }

    std::vector<std::size_t> order(count);
    for (std::size_t k = 0; k < count; ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return visual.characters[a].left < visual.characters[b].left;
    });

    // Edge j lies left of the j-th character seen; it is offered the boundary
    // on its side of the character left of it and of the one right of it.
    const std::size_t edges = count + 1;
    struct Offer {
        std::size_t boundary;
        qreal x;
        bool leading; // the edge where the character after the boundary starts
    };
    std::vector<std::vector<Offer>> offers(edges);
    std::vector<std::vector<std::size_t>> touching(edges); // the edges each boundary is offered to
    const auto offer = [&](std::size_t edge, std::size_t boundary, qreal x, bool leading) {
        for (Offer& made : offers[edge]) {
            if (made.boundary == boundary) {
                made.leading = made.leading || leading;
                return;
            }
        }
        offers[edge].push_back({boundary, x, leading});
        touching[boundary].push_back(edge);
    };
    for (std::size_t j = 0; j < count; ++j) {
        const std::size_t k = order[j];
        const VisualRow::Extent& extent = visual.characters[k];
        offer(j, rightToLeft[k] ? k + 1 : k, extent.left, !rightToLeft[k]);
        offer(j + 1, rightToLeft[k] ? k : k + 1, extent.right, rightToLeft[k]);
    }

    // Pair them: whatever has one partner left takes it, and what is left
    // over forms rings, where any pair starts the rest.
    std::vector<std::size_t> edgeOf(edges, npos);
    std::vector<std::size_t> boundaryOf(edges, npos);
    std::vector<std::pair<bool, std::size_t>> pending; // (is an edge, index)
    const auto freePartners = [&](bool isEdge, std::size_t v) {
        std::vector<std::size_t> partners;
        if (isEdge) {
            for (const Offer& made : offers[v]) {
                if (edgeOf[made.boundary] == npos) partners.push_back(made.boundary);
            }
        } else {
            for (const std::size_t edge : touching[v]) {
                if (boundaryOf[edge] == npos) partners.push_back(edge);
            }
        }
        return partners;
    };
    const auto join = [&](std::size_t edge, std::size_t boundary) {
        boundaryOf[edge] = boundary;
        edgeOf[boundary] = edge;
        for (const Offer& made : offers[edge]) pending.emplace_back(false, made.boundary);
        for (const std::size_t other : touching[boundary]) pending.emplace_back(true, other);
    };
    const auto settle = [&] {
        while (!pending.empty()) {
            const auto [isEdge, v] = pending.back();
            pending.pop_back();
            if ((isEdge ? boundaryOf[v] : edgeOf[v]) != npos) continue;
            const std::vector<std::size_t> partners = freePartners(isEdge, v);
            if (partners.size() != 1) continue;
            if (isEdge) {
                join(v, partners.front());
            } else {
                join(partners.front(), v);
            }
        }
    };
    for (std::size_t v = 0; v < edges; ++v) {
        pending.emplace_back(true, v);
        pending.emplace_back(false, v);
    }
    settle();
    // In a ring either way fits: a boundary goes where the character after it starts.
    for (std::size_t edge = 0; edge < edges; ++edge) {
        if (boundaryOf[edge] != npos) continue;
        const Offer* chosen = nullptr;
        for (const Offer& made : offers[edge]) {
            if (edgeOf[made.boundary] == npos && (chosen == nullptr || (made.leading && !chosen->leading))) {
                chosen = &made;
            }
        }
        if (chosen == nullptr) continue;
        join(edge, chosen->boundary);
        settle();
    }

    struct Placed {
        std::size_t position;
        qreal x;
        std::size_t edge;
    };
    std::vector<Placed> placed;
    for (std::size_t boundary = 0; boundary < edges; ++boundary) {
        const std::size_t edge = edgeOf[boundary];
        qreal x = 0;
        if (edge != npos) {
            for (const Offer& made : offers[edge]) {
                if (made.boundary == boundary) x = made.x;
            }
        } else {
            // Never seen so far; where Qt puts the caret still keeps it in the walk.
            x = line.cursorToX(at(bounds[boundary]));
        }
        placed.push_back({bounds[boundary], x, edge});
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return a.x != b.x ? a.x < b.x : a.edge < b.edge;
    });
    for (const Placed& stop : placed) visual.stops.push_back({stop.position, stop.x});
    return visual;
}

qreal MessageLayout::xOf(std::size_t rowIndex, std::size_t position) const {
    const Row& row = rows_[rowIndex];
    position = std::clamp(position, row.start, row.end);
    if (isShaped(rowIndex)) {
        const VisualRow visual = visualRow(rowIndex);
        position = std::max(startOfCharacter(position), row.start);
        for (const VisualRow::Stop& stop : visual.stops) {
            if (stop.position == position) return stop.x;
        }
        return 0;
    }
    qreal x = 0;
    for (std::size_t i = row.start; i < position;) {
        const std::size_t end = characterEnd(i);
        x += advanceOf(i, end, x);
        i = end;
    }
    return x;
}

std::pair<std::size_t, bool> MessageLayout::positionAtX(std::size_t rowIndex, qreal x) const {
    const Row& row = rows_[rowIndex];
    if (isShaped(rowIndex)) {
        const VisualRow visual = visualRow(rowIndex);
        const VisualRow::Stop* nearest = &visual.stops.front();
        for (const VisualRow::Stop& stop : visual.stops) {
            if (std::abs(stop.x - x) < std::abs(nearest->x - x)) nearest = &stop;
        }
        return {nearest->position, nearest->position == row.end};
    }
    qreal left = 0;
    for (std::size_t i = row.start; i < row.end;) {
        const std::size_t end = characterEnd(i);
        const qreal width = advanceOf(i, end, left);
        if (x < left + width / 2) {
            return {i, false};
        }
        left += width;
        i = end;
    }
    return {row.end, true};
}

std::pair<qreal, qreal> MessageLayout::extentOf(std::size_t position) const {
    const std::size_t row = rowOf(position, false);
    if (position >= rows_[row].end) {
        return {xOf(row, position), lineBreakWidth_};
    }
    if (isShaped(row)) {
        const std::size_t start = std::max(startOfCharacter(position), rows_[row].start);
        for (const VisualRow::Extent& extent : visualRow(row).characters) {
            if (extent.start == start) return {extent.left, extent.right - extent.left};
        }
        return {0, 0};
    }
    const qreal x = xOf(row, position);
    return {x, advanceOf(position, characterEnd(position), x)};
}

bool MessageLayout::readsRightToLeft(std::size_t row) const {
    return isShaped(row) && shownText(rows_[row].start, rows_[row].end).isRightToLeft();
}

std::size_t MessageLayout::stepInRow(std::size_t rowIndex, std::size_t position, bool toRight) const {
    const Row& row = rows_[rowIndex];
    if (!isShaped(rowIndex)) {
        if (toRight) return position < row.end ? std::min(nextPosition(position), row.end) : npos;
        return position > row.start ? std::max(previousPosition(position), row.start) : npos;
    }
    const VisualRow visual = visualRow(rowIndex);
    position = std::max(startOfCharacter(std::min(position, row.end)), row.start);
    const auto here = std::find_if(visual.stops.begin(), visual.stops.end(),
                                   [&](const VisualRow::Stop& stop) { return stop.position == position; });
    if (here == visual.stops.end()) return npos;
    if (toRight) return here + 1 != visual.stops.end() ? (here + 1)->position : npos;
    return here != visual.stops.begin() ? (here - 1)->position : npos;
}

std::size_t MessageLayout::endStop(std::size_t rowIndex, bool right) const {
    if (!isShaped(rowIndex)) return right ? rows_[rowIndex].end : rows_[rowIndex].start;
    const VisualRow visual = visualRow(rowIndex);
    return right ? visual.stops.back().position : visual.stops.front().position;
}

MessageLayout::Caret MessageLayout::step(Caret caret, bool toRight) const {
    const std::size_t row = rowOf(caret.position, caret.atRowEnd);
    const std::size_t inRow = stepInRow(row, caret.position, toRight);
    if (inRow != npos) {
        return {inRow, inRow == rows_[row].end};
    }
    // Off the row's end: on to the row that reads before or after it, entering at its near end.
    const bool forward = toRight != readsRightToLeft(row);
    if (forward ? row + 1 >= rows_.size() : row == 0) {
        return caret;
    }
    const std::size_t target = forward ? row + 1 : row - 1;
    std::size_t entry = endStop(target, !toRight);
    if (entry == caret.position) {
        // A wrap: that end is where the caret already is.
        const std::size_t further = stepInRow(target, entry, toRight);
        if (further != npos) entry = further;
    }
    return {entry, entry == rows_[target].end};
}

MessageLayout::Caret MessageLayout::rightOf(Caret caret) const {
    return step(caret, true);
}

MessageLayout::Caret MessageLayout::leftOf(Caret caret) const {
    return step(caret, false);
}

} // namespace tarvex::window
