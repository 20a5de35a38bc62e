// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_layout.h"

#include "message_codec.h"

#include <QFontMetricsF>
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
constexpr char32_t kZeroWidthJoiner = 0x200D;
// Below this nothing joins the character before it: the combining marks start here.
constexpr char16_t kFirstJoining = 0x0300;

// Room around a control's name inside its frame, and between frames.
constexpr qreal kNamePadding = 2;
constexpr qreal kFrameGap = 1;

bool isRegionalIndicator(char32_t ch) {
    return ch >= 0x1F1E6 && ch <= 0x1F1FF;
}

bool isEmojiModifier(char32_t ch) {
    return ch >= 0x1F3FB && ch <= 0x1F3FF;
}

bool isTag(char32_t ch) {
    return ch >= 0xE0020 && ch <= 0xE007F;
}

// Conjoining Hangul jamo: leading consonants, vowels and trailing consonants
// that make one syllable together, and the syllables written whole.
enum class Jamo { None, Leading, Vowel, Trailing, SyllableOpen, SyllableClosed };

Jamo jamoOf(char32_t ch) {
    if ((ch >= 0x1100 && ch <= 0x115F) || (ch >= 0xA960 && ch <= 0xA97C)) return Jamo::Leading;
    if ((ch >= 0x1160 && ch <= 0x11A7) || (ch >= 0xD7B0 && ch <= 0xD7C6)) return Jamo::Vowel;
    if ((ch >= 0x11A8 && ch <= 0x11FF) || (ch >= 0xD7CB && ch <= 0xD7FB)) return Jamo::Trailing;
    if (ch >= 0xAC00 && ch <= 0xD7A3) return (ch - 0xAC00) % 28 == 0 ? Jamo::SyllableOpen : Jamo::SyllableClosed;
    return Jamo::None;
}

bool jamoJoin(char32_t previous, char32_t ch) {
    const Jamo here = jamoOf(ch);
    switch (jamoOf(previous)) {
    case Jamo::Leading:
        return here != Jamo::None && here != Jamo::Trailing;
    case Jamo::Vowel:
    case Jamo::SyllableOpen:
        return here == Jamo::Vowel || here == Jamo::Trailing;
    case Jamo::Trailing:
    case Jamo::SyllableClosed:
        return here == Jamo::Trailing;
    default:
        return false;
    }
}

bool isMark(char32_t ch) {
    const QChar::Category category = QChar::category(ch);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

bool isRightToLeft(char32_t ch) {
    const QChar::Direction direction = QChar::direction(ch);
    return direction == QChar::DirR || direction == QChar::DirAL || direction == QChar::DirRLE ||
           direction == QChar::DirRLO || direction == QChar::DirRLI;
}

// The characters of the C1 range that the set leaves without a code have no
// name of their own; their number in a frame keeps them visible.
QString c1Number(unsigned ch) {
    return QString::number(ch, 16).toUpper();
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
    for (unsigned ch = 0; ch < 256; ++ch) {
        const auto code = static_cast<unsigned char>(ch);
        const bool unnamedC1 = ch >= 0x80 && ch < 0xA0 && codec::controlName(code).abbreviation.empty();
        const std::string_view abbreviation = codec::controlName(code).abbreviation;
        controlNames_[ch] = unnamedC1 ? c1Number(ch)
                                      : QString::fromLatin1(abbreviation.data(), static_cast<qsizetype>(abbreviation.size()));
        // Below 0x80 and from 0xA0 on, the code of a character is its number.
        shown_[ch] = unnamedC1 ? QString() : QString(QChar(codec::displayCharacter(code)));
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

// Whether the character at position belongs to the one before it.
bool MessageLayout::continuesCluster(std::size_t position) const {
    const QString& text = *text_;
    const auto i = static_cast<qsizetype>(position);
    if (i == 0 || i >= text.size()) {
        return false;
    }
    const char16_t here = text[i].unicode();
    const char16_t before = text[i - 1].unicode();
    if (here < kFirstJoining && before < kFirstJoining) {
        return here == kLineFeed && before == kCarriageReturn;
    }
    if (text[i].isLowSurrogate() && text[i - 1].isHighSurrogate()) {
        return true;
    }
    if (before == kCarriageReturn || before == kLineFeed) {
        return false;
    }
    const char32_t ch = codePointAt(position);
    const std::size_t previousStart = text[i - 1].isLowSurrogate() && i >= 2 && text[i - 2].isHighSurrogate()
                                          ? position - 2 : position - 1;
    const char32_t previous = codePointAt(previousStart);
    if (isMark(ch) || ch == kZeroWidthJoiner || isEmojiModifier(ch) || isTag(ch) || previous == kZeroWidthJoiner ||
        jamoJoin(previous, ch)) {
        return true;
    }
    if (isRegionalIndicator(ch) && isRegionalIndicator(previous)) {
        // Flags are pairs: count the indicators before this one.
        std::size_t count = 0;
        for (std::size_t p = position; p >= 2 && isRegionalIndicator(codePointAt(p - 2)); p -= 2) {
            ++count;
        }
        return count % 2 == 1;
    }
    return false;
}

std::size_t MessageLayout::clusterEnd(std::size_t position) const {
    const std::size_t size = static_cast<std::size_t>(text_->size());
    const auto unitsAt = [this](std::size_t p) { return std::size_t{codePointAt(p) > 0xFFFF ? 2u : 1u}; };
    std::size_t end = position + unitsAt(position);
    while (end < size && continuesCluster(end)) {
        end += unitsAt(end);
    }
    return std::min(end, size);
}

bool MessageLayout::isBlankAt(std::size_t position) const {
    const char16_t ch = (*text_)[static_cast<qsizetype>(position)].unicode();
    return ch == u' ' || ch == kTab;
}

inline MessageLayout::UnitPage& MessageLayout::unitPage(char16_t unit) const {
    std::unique_ptr<UnitPage>& page = unitPages_[unit >> 8];
    return page ? *page : newUnitPage(unit);
}

MessageLayout::UnitPage& MessageLayout::newUnitPage(char16_t unit) const {
    std::unique_ptr<UnitPage>& page = unitPages_[unit >> 8];
    page = std::make_unique<UnitPage>();
    page->advances.fill(std::numeric_limits<qreal>::quiet_NaN());
    const char16_t first = unit & 0xFF00;
    for (unsigned low = 0; low < 256; ++low) {
        const auto ch = static_cast<char16_t>(first + low);
        const Jamo jamo = jamoOf(ch);
        page->joins[low] = QChar::isSurrogate(ch) || isMark(ch) || ch == kZeroWidthJoiner ||
                           jamo == Jamo::Leading || jamo == Jamo::Vowel || jamo == Jamo::Trailing;
    }
    return *page;
}

qreal MessageLayout::measureUnit(char16_t unit) const {
    qreal& advance = unitPage(unit).advances[unit & 0xFF];
    advance = QFontMetricsF(font_).horizontalAdvance(QChar(unit));
    return advance;
}

inline bool MessageLayout::joinsPrevious(char16_t unit) const {
    return unit >= kFirstJoining && unitPage(unit).joins[unit & 0xFF];
}

inline qreal MessageLayout::unitAdvance(char16_t unit) const {
    if (unit < 256) return advances_[unit];
    const qreal advance = unitPage(unit).advances[unit & 0xFF];
    return std::isnan(advance) ? measureUnit(unit) : advance;
}

inline std::size_t MessageLayout::quickClusterEnd(const char16_t* units, std::size_t position, std::size_t size) const {
    const char16_t unit = units[position];
    // A character that a following one may join needs the general search;
    // after a leading jamo even a whole syllable may.
    const bool alone = !QChar::isSurrogate(unit) && unit != kZeroWidthJoiner && unit != kCarriageReturn &&
                       jamoOf(unit) != Jamo::Leading && (position + 1 == size || !joinsPrevious(units[position + 1]));
    return alone ? position + 1 : clusterEnd(position);
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
    const std::size_t end = quickClusterEnd(QStringView(*text_).utf16(), position, static_cast<std::size_t>(text_->size()));
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
        const std::size_t end = simple ? i + 1 : quickClusterEnd(units, i, size);
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
                const std::size_t jEnd = quickClusterEnd(units, j, size);
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
    const std::size_t size = static_cast<std::size_t>(text_->size());
    return position >= size ? size : clusterEnd(position);
}

std::size_t MessageLayout::previousPosition(std::size_t position) const {
    if (position == 0) {
        return 0;
    }
    std::size_t start = position - 1;
    while (start > 0 && continuesCluster(start)) {
        --start;
    }
    return start;
}

std::size_t MessageLayout::startOfCharacter(std::size_t position) const {
    const std::size_t size = static_cast<std::size_t>(text_->size());
    return position >= size ? size : previousPosition(nextPosition(position));
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
        if (value < 256 && value != kTab && !controlNames_[value].isEmpty() && !shown_[value].isEmpty()) {
            ch = QChar(shown_[value].front());
        }
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

qreal MessageLayout::xOf(std::size_t rowIndex, std::size_t position) const {
    const Row& row = rows_[rowIndex];
    position = std::clamp(position, row.start, row.end);
    if (isShaped(rowIndex)) {
        const auto layout = shapedRow(rowIndex);
        auto cursor = static_cast<int>(position - row.start);
        return layout->lineCount() > 0 ? layout->lineAt(0).cursorToX(&cursor) : 0;
    }
    const char16_t* units = QStringView(*text_).utf16();
    const std::size_t size = static_cast<std::size_t>(text_->size());
    qreal x = 0;
    for (std::size_t i = row.start; i < position;) {
        const std::size_t end = quickClusterEnd(units, i, size);
        x += advanceOf(i, end, x);
        i = end;
    }
    return x;
}

std::pair<std::size_t, bool> MessageLayout::positionAtX(std::size_t rowIndex, qreal x) const {
    const Row& row = rows_[rowIndex];
    if (isShaped(rowIndex)) {
        const auto layout = shapedRow(rowIndex);
        if (layout->lineCount() == 0) return {row.end, true};
        const auto offset = static_cast<std::size_t>(layout->lineAt(0).xToCursor(x, QTextLine::CursorBetweenCharacters));
        const std::size_t position = std::min(row.start + offset, row.end);
        return {position, position == row.end};
    }
    const char16_t* units = QStringView(*text_).utf16();
    const std::size_t size = static_cast<std::size_t>(text_->size());
    qreal left = 0;
    for (std::size_t i = row.start; i < row.end;) {
        const std::size_t end = quickClusterEnd(units, i, size);
        const qreal width = advanceOf(i, end, left);
        if (x < left + width / 2) {
            return {i, false};
        }
        left += width;
        i = end;
    }
    return {row.end, true};
}

qreal MessageLayout::widthAt(std::size_t position) const {
    const std::size_t row = rowOf(position, false);
    if (position >= rows_[row].end) {
        return lineBreakWidth_;
    }
    if (isShaped(row)) {
        const qreal from = xOf(row, position);
        return std::abs(xOf(row, clusterEnd(position)) - from);
    }
    return advanceOf(position, clusterEnd(position), xOf(row, position));
}

std::size_t MessageLayout::rightOf(std::size_t position) const {
    const std::size_t row = rowOf(position, false);
    if (isShaped(row) && position <= rows_[row].end) {
        const auto layout = shapedRow(row);
        const auto moved = static_cast<std::size_t>(
            layout->rightCursorPosition(static_cast<int>(position - rows_[row].start)));
        if (rows_[row].start + moved != position) return rows_[row].start + moved;
    }
    return nextPosition(position);
}

std::size_t MessageLayout::leftOf(std::size_t position) const {
    const std::size_t row = rowOf(position, false);
    if (isShaped(row) && position <= rows_[row].end) {
        const auto layout = shapedRow(row);
        const auto moved = static_cast<std::size_t>(
            layout->leftCursorPosition(static_cast<int>(position - rows_[row].start)));
        if (rows_[row].start + moved != position) return rows_[row].start + moved;
    }
    return previousPosition(position);
}

} // namespace tarvex::window
