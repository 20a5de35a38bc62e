// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_editor.h"

#include "incoming_line_breaks.h"
#include "message_editor_accessible.h"

#include "exchange/cipher_command_host.h"
#include "exchange/clipboard_commands.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tarvex::window {

namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr int kMargin = 4;
constexpr int kDragScrollInterval = 50;

// A control's name in a frame that fills its cell.
void drawControlName(QPainter& painter, const QRectF& cell, const QString& name, const QFont& nameFont) {
    const QRectF frame(cell.left() + MessageLayout::kFrameGap + 0.5, cell.top() + 1.5, cell.width() - 2 * MessageLayout::kFrameGap - 1,
                       cell.height() - 3);
    const QFont font = painter.font();
    painter.drawRect(frame);
    painter.setFont(nameFont);
    painter.drawText(frame, Qt::AlignCenter, name);
    painter.setFont(font);
}

bool isEditingShortcut(const QKeyEvent& key) {
    return key.matches(QKeySequence::Copy) || key.matches(QKeySequence::Paste) ||
           key.matches(QKeySequence::Cut) || key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo);
}

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

bool carriesText(const QKeyEvent& key) {
    const QString text = key.text();
    return !text.isEmpty() && text.front().isPrint();
}

// AltGr arrives without these on X11, so text under them was not typed.
bool heldForCommand(const QKeyEvent& key) {
    return (key.modifiers() & (Qt::AltModifier | Qt::MetaModifier)) != Qt::NoModifier;
}

bool heldForEditing(const QKeyEvent& key) {
    return key.modifiers().testFlag(Qt::ControlModifier) && !heldForCommand(key);
}

} // namespace

MessageEditor::MessageEditor(QWidget* parent) : QAbstractScrollArea(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    installMessageEditorAccessibility();
    measureFont();
    relayout();
}

void MessageEditor::setText(QString text) {
    if (!document_.setText(std::move(text))) {
        return;
    }
    textReplaced();
    cursor_ = anchor_ = 0;
    cursorAtRowEnd_ = false;
    goalX_ = -1;
    relayout();
    verticalScrollBar()->setValue(0);
    cursorMoved();
    emit textChanged();
}

void MessageEditor::setCursorPosition(std::size_t position) {
    setCursor(layout_.startOfCharacter(std::min(position, document_.size())), false);
}

QString MessageEditor::selectedText() const {
    const auto [from, to] = selectionRange();
    return text_.mid(static_cast<qsizetype>(from), static_cast<qsizetype>(to - from));
}

void MessageEditor::selectAll() {
    anchor_ = 0;
    setCursor(document_.size(), true);
}

void MessageEditor::select(std::size_t anchor, std::size_t position) {
    anchor_ = layout_.startOfCharacter(std::min(anchor, document_.size()));
    setCursor(layout_.startOfCharacter(std::min(position, document_.size())), true);
}

void MessageEditor::replaceRange(std::size_t from, std::size_t to, const QString& text) {
    if (!isEnabled()) {
        return;
    }
    select(from, to);
    if (text.isEmpty()) {
        replaceSelection({});
    } else {
        insertForeignText(text, Fit::WholeOrNothing);
    }
}

std::size_t MessageEditor::cursorRow() const {
    return layout_.rowOf(cursor_, cursorAtRowEnd_);
}

std::size_t MessageEditor::firstVisibleRow() const {
    return static_cast<std::size_t>(verticalScrollBar()->value());
}

std::size_t MessageEditor::visibleRowCount() const {
    return static_cast<std::size_t>(std::max(1, (viewport()->height() - 2 * kMargin) / rowHeight()));
}

void MessageEditor::copy() const {
    if (hasSelection()) {
        exchange::offerText(selectedText());
    }
}

void MessageEditor::cut() {
    if (hasSelection()) {
        copy();
        replaceSelection({});
    }
}

void MessageEditor::paste() {
    insertFrom(TextSource::Clipboard, QGuiApplication::clipboard()->text());
}

void MessageEditor::undo() {
    historyStepped(document_.undo());
}

void MessageEditor::redo() {
    historyStepped(document_.redo());
}

void MessageEditor::historyStepped(std::size_t position) {
    if (position == MessageDocument::npos) {
        return;
    }
    textReplaced();
    cursor_ = anchor_ = position;
    cursorAtRowEnd_ = false;
    relayout();
    cursorMoved();
    emit textChanged();
}

// ---- layout

void MessageEditor::measureFont() {
    layout_.setFont(font());
}

qreal MessageEditor::wrapWidth() const {
    return std::max<qreal>(1, viewport()->width() - 2 * kMargin);
}

void MessageEditor::relayout() {
    laidOutWidth_ = viewport()->width();
    layout_.layOut(text_, wrapWidth());
    updateScrollBar();
}

void MessageEditor::updateScrollBar() {
    const auto visible = static_cast<int>(visibleRowCount());
    const int rows = static_cast<int>(std::min<std::size_t>(rows_.size(), std::numeric_limits<int>::max()));
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, rows - visible));
    bar->setPageStep(visible);
    bar->setSingleStep(1);
}

std::pair<std::size_t, bool> MessageEditor::positionAt(QPointF point) const {
    const qreal y = point.y() - kMargin;
    const qreal offset = std::floor(y / rowHeight()) + static_cast<qreal>(firstVisibleRow());
    const auto last = static_cast<qreal>(rows_.size() - 1);
    const auto row = static_cast<std::size_t>(std::clamp<qreal>(offset, 0, last));
    return layout_.positionAtX(row, point.x() - kMargin);
}

QRect MessageEditor::codeRect(std::size_t position) const {
    position = std::min(position, document_.size());
    const std::size_t row = layout_.rowOf(position, false);
    const auto [x, width] = layout_.extentOf(position);
    return QRectF(x + kMargin, rowTop(row), width, rowHeight()).toAlignedRect();
}

std::size_t MessageEditor::positionAtPoint(QPoint point) const {
    return positionAt(point).first;
}

void MessageEditor::scrollToPosition(std::size_t position) {
    ensureRowVisible(layout_.rowOf(std::min(position, document_.size()), false));
}

std::pair<std::size_t, std::size_t> MessageEditor::characterAt(std::size_t position) const {
    const std::size_t start = layout_.startOfCharacter(std::min(position, document_.size()));
    return {start, layout_.nextPosition(start)};
}

const AccessibleText& MessageEditor::accessibleText() const {
    if (!accessibleText_) {
        accessibleText_.emplace(text_);
    }
    return *accessibleText_;
}

int MessageEditor::rowTop(std::size_t row) const {
    const auto first = static_cast<long long>(firstVisibleRow());
    const long long top = (static_cast<long long>(row) - first) * rowHeight() + kMargin;
    return static_cast<int>(std::clamp<long long>(top, -rowHeight() * 2, std::numeric_limits<int>::max() / 2));
}

QRectF MessageEditor::caretRect(std::size_t position, bool atRowEnd) const {
    const std::size_t row = layout_.rowOf(position, atRowEnd);
    const qreal x = layout_.xOf(row, position) + kMargin;
    return {x, static_cast<qreal>(rowTop(row)), 1, static_cast<qreal>(rowHeight())};
}

std::pair<std::size_t, std::size_t> MessageEditor::selectionRange() const {
    return {std::min(cursor_, anchor_), std::max(cursor_, anchor_)};
}

// ---- cursor and editing

void MessageEditor::moveCursor(Move move, bool select) {
    const auto [from, to] = selectionRange();
    const std::size_t row = cursorRow();
    const qreal goal = goalX_ >= 0 ? goalX_ : layout_.xOf(row, cursor_);
    const auto toRow = [&](std::size_t target) {
        const auto [position, atEnd] = layout_.positionAtX(target, goal);
        setCursor(position, select, atEnd);
        goalX_ = goal;
    };
    switch (move) {
    case Move::NextChar:
    case Move::PreviousChar: {
        if (hasSelection() && !select) {
            return setCursor(move == Move::NextChar ? to : from, false);
        }
        const MessageLayout::Caret caret{cursor_, cursorAtRowEnd_};
        const MessageLayout::Caret moved = move == Move::NextChar ? layout_.rightOf(caret) : layout_.leftOf(caret);
        return setCursor(moved.position, select, moved.atRowEnd);
    }
    case Move::NextWord:
        return setCursor(layout_.nextWord(cursor_), select);
    case Move::PreviousWord:
        return setCursor(layout_.previousWord(cursor_), select);
    case Move::NextRow:
        return row + 1 < rows_.size() ? toRow(row + 1) : setCursor(document_.size(), select);
    case Move::PreviousRow:
        return row > 0 ? toRow(row - 1) : setCursor(0, select);
    case Move::NextPage: {
        const std::size_t page = visibleRowCount();
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->value() + static_cast<int>(page));
        return toRow(std::min(row + page, rows_.size() - 1));
    }
    case Move::PreviousPage: {
        const std::size_t page = visibleRowCount();
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->value() - static_cast<int>(page));
        return toRow(row > page ? row - page : 0);
    }
    case Move::StartOfRow:
        return setCursor(rows_[row].start, select);
    case Move::EndOfRow:
        return setCursor(rows_[row].end, select, true);
    case Move::StartOfText:
        return setCursor(0, select);
    case Move::EndOfText:
        return setCursor(document_.size(), select);
    }
}

void MessageEditor::setCursor(std::size_t position, bool select, bool atRowEnd) {
    cursor_ = position;
    if (!select) {
        anchor_ = position;
    }
    cursorAtRowEnd_ = atRowEnd;
    goalX_ = -1;
    document_.breakTyping();
    cursorMoved();
}

void MessageEditor::cursorMoved() {
    ensureCursorVisible();
    restartBlinking();
    viewport()->update();
    QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImSurroundingText |
                                           Qt::ImCursorPosition | Qt::ImAnchorPosition);
    if (QAccessible::isActive()) {
        const AccessibleText& reading = accessibleText();
        announceCursor(this, reading.offsetOf(cursor_));
        const auto selection = hasSelection() ? selectionRange() : std::pair<std::size_t, std::size_t>{};
        if (selection != announcedSelection_) {
            announcedSelection_ = selection;
            announceSelection(this, reading.offsetOf(selection.first), reading.offsetOf(selection.second));
        }
    }
}

void MessageEditor::textReplaced() {
    if (!QAccessible::isActive()) {
        accessibleText_.reset();
        return;
    }
    const QString before = accessibleText_ ? accessibleText_->text() : QString();
    accessibleText_.emplace(text_);
    announceTextChange(this, before, accessibleText_->text());
}

void MessageEditor::ensureCursorVisible() {
    ensureRowVisible(cursorRow());
}

void MessageEditor::ensureRowVisible(std::size_t rowIndex) {
    const auto row = static_cast<int>(rowIndex);
    const auto visible = static_cast<int>(visibleRowCount());
    QScrollBar* bar = verticalScrollBar();
    if (row < bar->value()) {
        bar->setValue(row);
    } else if (row >= bar->value() + visible) {
        bar->setValue(row - visible + 1);
    }
}

void MessageEditor::restartBlinking() {
    caretShown_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0) {
        blinking_.start(flash / 2, this);
    } else {
        blinking_.stop();
    }
}

void MessageEditor::offerSelection() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection()) {
        exchange::offerText(selectedText(), QClipboard::Selection);
    }
}

std::size_t MessageEditor::room() const {
    const auto [from, to] = selectionRange();
    return document_.room(from, to);
}

QString MessageEditor::fitToRoom(QString text, Fit fit) const {
    const std::size_t available = room();
    if (MessageDocument::charactersIn(text) <= available) {
        return text;
    }
    if (fit == Fit::WholeOrNothing) {
        return {};
    }
    // As many characters as fit; a line break or a surrogate pair that does
    // not fit whole is left out, not halved.
    qsizetype end = 0;
    for (std::size_t counted = 0; counted < available && end < text.size(); ++counted) {
        end += text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
    }
    if (end > 0 && end < text.size() && text[end - 1] == QLatin1Char(kCarriageReturn) &&
        text[end] == QLatin1Char(kLineFeed)) {
        --end;
    }
    text.truncate(end);
    return text;
}

void MessageEditor::replaceSelection(QStringView text) {
    const auto [from, to] = selectionRange();
    if (!document_.replace(from, to, text)) {
        return;
    }
    textReplaced();
    cursor_ = anchor_ = from + static_cast<std::size_t>(text.size());
    cursorAtRowEnd_ = false;
    goalX_ = -1;
    relayout();
    cursorMoved();
    emit textChanged();
}

void MessageEditor::deleteBackOrForth(Move move) {
    if (!hasSelection()) {
        switch (move) {
        case Move::PreviousChar: anchor_ = layout_.previousPosition(cursor_); break;
        case Move::NextChar: anchor_ = layout_.nextPosition(cursor_); break;
        case Move::PreviousWord: anchor_ = layout_.previousWord(cursor_); break;
        case Move::NextWord: anchor_ = layout_.nextWord(cursor_); break;
        default: return;
        }
    }
    replaceSelection({});
}

void MessageEditor::insertForeignText(const QString& text, Fit fit) {
    const QString fitting = fitToRoom(lineBreaksUnified(text), fit);
    if (!fitting.isEmpty()) {
        replaceSelection(fitting);
    }
}

bool MessageEditor::insertFrom(TextSource source, const QString& text) {
    const QString unified = lineBreaksUnified(text);
    const std::size_t length = MessageDocument::charactersIn(unified);
    const std::size_t fits = room();
    if (length > fits) {
        if (source == TextSource::Drop) {
            // Not inside the drop: the program that the text came from waits until it ends.
            QMetaObject::invokeMethod(
                this, [this, length, fits] { emit insertionRefused(TextSource::Drop, length, fits); },
                Qt::QueuedConnection);
        } else {
            emit insertionRefused(source, length, fits);
        }
        return false;
    }
    if (!unified.isEmpty()) {
        replaceSelection(unified);
    }
    return true;
}

// ---- events

bool MessageEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && isEditingShortcut(*static_cast<QKeyEvent*>(event))) {
        // Copy, paste, cut and undo act on the text while it has the focus.
        event->accept();
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void MessageEditor::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setFont(font());
    const QPalette& colours = palette();
    const QColor text = colours.color(QPalette::Text);
    const QColor highlight = colours.color(QPalette::Highlight);
    const QColor highlightedText = colours.color(QPalette::HighlightedText);
    const auto [from, to] = selectionRange();
    const QRect area = event->rect();
    const int height = viewport()->height();

    for (std::size_t row = firstVisibleRow(); row < rows_.size(); ++row) {
        const int top = rowTop(row);
        if (top >= height || top > area.bottom()) {
            break;
        }
        if (top + rowHeight() <= area.top()) {
            continue;
        }
        const MessageLayout::Row& shown = rows_[row];
        qreal x = 0;
        if (layout_.isShaped(row)) {
            // Right-to-left text, in the order it reads.
            const auto shaped = layout_.shapedRow(row);
            QList<QTextLayout::FormatRange> selection;
            if (to > shown.start && from < shown.end) {
                QTextLayout::FormatRange range;
                range.start = static_cast<int>(std::max(from, shown.start) - shown.start);
                range.length = static_cast<int>(std::min(to, shown.end) - shown.start) - range.start;
                range.format.setBackground(highlight);
                range.format.setForeground(highlightedText);
                selection.append(range);
            }
            painter.setPen(text);
            shaped->draw(&painter, QPointF(kMargin, top), selection);
            x = shaped->lineCount() > 0 ? shaped->lineAt(0).naturalTextWidth() : 0;
            // Each control's picture holds the place of its frame.
            bool framed = false;
            for (std::size_t i = shown.start; i < shown.end && !framed; ++i) {
                framed = layout_.isFramed(text_[static_cast<qsizetype>(i)].unicode());
            }
            const MessageLayout::VisualRow visual = framed ? layout_.visualRow(row) : MessageLayout::VisualRow{};
            for (const MessageLayout::VisualRow::Extent& character : visual.characters) {
                const std::size_t i = character.start;
                if (!layout_.isFramed(text_[static_cast<qsizetype>(i)].unicode())) continue;
                const QRectF cell(character.left + kMargin, top, character.right - character.left, rowHeight());
                const bool selected = i >= from && i < to;
                painter.fillRect(cell, selected ? highlight : colours.color(QPalette::Base));
                painter.setPen(selected ? highlightedText : text);
                drawControlName(painter, cell, layout_.cellAt(i, 0).control, layout_.nameFont());
            }
        } else {
            const auto baseline = static_cast<qreal>(top + layout_.ascent());
            for (std::size_t i = shown.start; i < shown.end;) {
                const MessageLayout::Cell cell = layout_.cellAt(i, x);
                const bool selected = i >= from && i < to;
                if (selected) {
                    painter.fillRect(QRectF(x + kMargin, top, cell.width, rowHeight()), highlight);
                }
                painter.setPen(selected ? highlightedText : text);
                if (!cell.control.isEmpty()) {
                    drawControlName(painter, QRectF(x + kMargin, top, cell.width, rowHeight()), cell.control,
                                    layout_.nameFont());
                } else if (!cell.shown.isEmpty()) {
                    painter.drawText(QPointF(x + kMargin, baseline), cell.shown);
                }
                x += cell.width;
                i = cell.end;
            }
        }
        // A selected line break shows as a selected blank after the row.
        const bool breaksLine = row + 1 < rows_.size() && rows_[row + 1].start != shown.end;
        if (breaksLine && shown.end >= from && shown.end < to) {
            painter.fillRect(QRectF(x + kMargin, top, layout_.lineBreakWidth(), rowHeight()), highlight);
        }
    }

    if (!preedit_.isEmpty()) {
        const QRectF caret = caretRect(cursor_, cursorAtRowEnd_);
        QFont underlined = font();
        underlined.setUnderline(true);
        painter.setFont(underlined);
        const qreal width = QFontMetricsF(underlined).horizontalAdvance(preedit_);
        painter.fillRect(QRectF(caret.left(), caret.top(), width, caret.height()), colours.color(QPalette::Base));
        painter.setPen(text);
        painter.drawText(QPointF(caret.left(), caret.top() + layout_.ascent()), preedit_);
    }
    if (dropping_) {
        painter.fillRect(caretRect(dropPosition_, false), text);
    } else if (hasFocus() && caretShown_ && isEnabled()) {
        const QRectF caret = caretRect(cursor_, cursorAtRowEnd_);
        painter.fillRect(caret, text);
    }
}

void MessageEditor::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (viewport()->width() != laidOutWidth_) {
        // Keep the cursor's row in sight across the new wrapping.
        relayout();
        ensureCursorVisible();
    } else {
        updateScrollBar();
    }
}

void MessageEditor::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        measureFont();
        relayout();
        ensureCursorVisible();
        viewport()->update();
    } else if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange ||
               event->type() == QEvent::ActivationChange) {
        viewport()->update();
    }
}

void MessageEditor::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
}

void MessageEditor::keyPressEvent(QKeyEvent* event) {
    const bool typing = isEnter(*event) || (carriesText(*event) && !heldForEditing(*event));
    if (typing && heldForCommand(*event)) {
        // An unused Alt combination types nothing.
        event->ignore();
        return;
    }
    if (isEnter(*event)) {
        // Shift+Enter and Ctrl+Enter too: every line break is CR LF.
        const QString lineBreak = fitToRoom(QStringLiteral("\r\n"), Fit::WholeOrNothing);
        if (!lineBreak.isEmpty()) {
            replaceSelection(lineBreak);
        }
        return event->accept();
    }
    if (typing) {
        insertForeignText(event->text(), Fit::WholeOrNothing);
        return event->accept();
    }

    struct Binding {
        QKeySequence::StandardKey key;
        Move move;
        bool select;
    };
    static constexpr Binding kMoves[] = {
        {QKeySequence::MoveToNextChar, Move::NextChar, false},
        {QKeySequence::MoveToPreviousChar, Move::PreviousChar, false},
        {QKeySequence::MoveToNextWord, Move::NextWord, false},
        {QKeySequence::MoveToPreviousWord, Move::PreviousWord, false},
        {QKeySequence::MoveToNextLine, Move::NextRow, false},
        {QKeySequence::MoveToPreviousLine, Move::PreviousRow, false},
        {QKeySequence::MoveToNextPage, Move::NextPage, false},
        {QKeySequence::MoveToPreviousPage, Move::PreviousPage, false},
        {QKeySequence::MoveToStartOfLine, Move::StartOfRow, false},
        {QKeySequence::MoveToEndOfLine, Move::EndOfRow, false},
        {QKeySequence::MoveToStartOfDocument, Move::StartOfText, false},
        {QKeySequence::MoveToEndOfDocument, Move::EndOfText, false},
        {QKeySequence::SelectNextChar, Move::NextChar, true},
        {QKeySequence::SelectPreviousChar, Move::PreviousChar, true},
        {QKeySequence::SelectNextWord, Move::NextWord, true},
        {QKeySequence::SelectPreviousWord, Move::PreviousWord, true},
        {QKeySequence::SelectNextLine, Move::NextRow, true},
        {QKeySequence::SelectPreviousLine, Move::PreviousRow, true},
        {QKeySequence::SelectNextPage, Move::NextPage, true},
        {QKeySequence::SelectPreviousPage, Move::PreviousPage, true},
        {QKeySequence::SelectStartOfLine, Move::StartOfRow, true},
        {QKeySequence::SelectEndOfLine, Move::EndOfRow, true},
        {QKeySequence::SelectStartOfDocument, Move::StartOfText, true},
        {QKeySequence::SelectEndOfDocument, Move::EndOfText, true},
    };
    for (const Binding& binding : kMoves) {
        if (event->matches(binding.key)) {
            moveCursor(binding.move, binding.select);
            if (binding.select) {
                offerSelection();
            }
            return event->accept();
        }
    }

    if (event->matches(QKeySequence::Copy)) {
        // With nothing selected, the whole message, as Copy To Clipboard does:
        // the focus rests here after a key is chosen, and Ctrl+C after Encrypt
        // must not copy nothing.
        if (hasSelection()) {
            copy();
        } else if (!text_.isEmpty()) {
            exchange::offerText(text_);
        }
    } else if (event->matches(QKeySequence::Cut)) {
        cut();
    } else if (event->matches(QKeySequence::Paste)) {
        paste();
    } else if (event->matches(QKeySequence::Undo)) {
        undo();
    } else if (event->matches(QKeySequence::Redo)) {
        redo();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        deleteBackOrForth(Move::PreviousWord);
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        deleteBackOrForth(Move::NextWord);
    } else if (event->key() == Qt::Key_Backspace && !heldForEditing(*event)) {
        deleteBackOrForth(Move::PreviousChar);
    } else if (event->matches(QKeySequence::Delete)) {
        deleteBackOrForth(Move::NextChar);
    } else {
        return event->ignore();
    }
    event->accept();
}

void MessageEditor::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() || event->replacementLength() > 0) {
        if (event->replacementLength() > 0 || event->replacementStart() != 0) {
            // The replacement counts from the cursor within its row.
            const MessageLayout::Row& row = rows_[cursorRow()];
            const auto start = static_cast<long long>(cursor_) + event->replacementStart();
            const auto from = static_cast<std::size_t>(
                std::clamp<long long>(start, static_cast<long long>(row.start), static_cast<long long>(row.end)));
            const std::size_t to = std::min(from + static_cast<std::size_t>(std::max(0, event->replacementLength())),
                                            row.end);
            anchor_ = from;
            cursor_ = to;
        }
        insertForeignText(event->commitString(), Fit::CutToRoom);
    }
    preedit_ = event->preeditString();
    viewport()->update();
    event->accept();
}

QVariant MessageEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    const MessageLayout::Row& row = rows_[cursorRow()];
    switch (query) {
    case Qt::ImEnabled:
        return isEnabled();
    case Qt::ImCursorRectangle:
        return caretRect(cursor_, cursorAtRowEnd_).toAlignedRect().translated(viewport()->pos());
    case Qt::ImFont:
        return font();
    case Qt::ImSurroundingText:
        return text_.mid(static_cast<qsizetype>(row.start), static_cast<qsizetype>(row.end - row.start));
    case Qt::ImCursorPosition:
        return static_cast<int>(cursor_ - row.start);
    case Qt::ImAnchorPosition:
        return static_cast<int>(std::clamp(anchor_, row.start, row.end) - row.start);
    case Qt::ImCurrentSelection:
        return selectedText();
    case Qt::ImMaximumTextLength:
        return limit() > 0 ? QVariant(static_cast<qulonglong>(limit())) : QVariant();
    case Qt::ImHints:
        return static_cast<int>(inputMethodHints() | Qt::ImhMultiLine);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void MessageEditor::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    restartBlinking();
    viewport()->update();
}

void MessageEditor::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    blinking_.stop();
    viewport()->update();
}

void MessageEditor::mousePressEvent(QMouseEvent* event) {
    const auto [position, atEnd] = positionAt(event->position());
    if (event->button() == Qt::LeftButton) {
        const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
        setCursor(position, extend, atEnd);
        selectingByMouse_ = true;
        lastMousePoint_ = event->position();
        return event->accept();
    }
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        setCursor(position, false, atEnd);
        insertFrom(TextSource::Selection, QGuiApplication::clipboard()->text(QClipboard::Selection));
        return event->accept();
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void MessageEditor::mouseMoveEvent(QMouseEvent* event) {
    if (!selectingByMouse_) {
        return QAbstractScrollArea::mouseMoveEvent(event);
    }
    lastMousePoint_ = event->position();
    const auto [position, atEnd] = positionAt(lastMousePoint_);
    setCursor(position, true, atEnd);
    const bool outside = lastMousePoint_.y() < 0 || lastMousePoint_.y() > viewport()->height();
    if (outside && !dragScrolling_.isActive()) {
        dragScrolling_.start(kDragScrollInterval, this);
    } else if (!outside) {
        dragScrolling_.stop();
    }
}

void MessageEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && selectingByMouse_) {
        selectingByMouse_ = false;
        dragScrolling_.stop();
        offerSelection();
        return event->accept();
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

void MessageEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    }
    const auto [word, end] = layout_.wordAround(positionAt(event->position()).first);
    anchor_ = word;
    setCursor(end, true);
    offerSelection();
    event->accept();
}

void MessageEditor::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool editable = isEnabled();
    menu.addAction(tr("&Undo"), this, &MessageEditor::undo)->setEnabled(editable && document_.canUndo());
    menu.addAction(tr("&Redo"), this, &MessageEditor::redo)->setEnabled(editable && document_.canRedo());
    menu.addSeparator();
    menu.addAction(tr("Cu&t"), this, &MessageEditor::cut)->setEnabled(editable && hasSelection());
    menu.addAction(tr("&Copy"), this, &MessageEditor::copy)->setEnabled(hasSelection());
    menu.addAction(tr("&Paste"), this, &MessageEditor::paste)
        ->setEnabled(editable && !QGuiApplication::clipboard()->text().isEmpty());
    menu.addAction(tr("Delete"), this, [this] { replaceSelection({}); })->setEnabled(editable && hasSelection());
    menu.addSeparator();
    menu.addAction(tr("Select All"), this, &MessageEditor::selectAll)->setEnabled(!text_.isEmpty());
    menu.exec(event->globalPos());
}

void MessageEditor::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasText()) {
        dropping_ = true;
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void MessageEditor::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasText()) {
        return event->ignore();
    }
    dropPosition_ = positionAt(event->position()).first;
    dropping_ = true;
    viewport()->update();
    event->acceptProposedAction();
}

void MessageEditor::dragLeaveEvent(QDragLeaveEvent* /*event*/) {
    dropping_ = false;
    viewport()->update();
}

void MessageEditor::dropEvent(QDropEvent* event) {
    dropping_ = false;
    if (!event->mimeData()->hasText()) {
        return event->ignore();
    }
    setCursor(positionAt(event->position()).first, false);
    if (!insertFrom(TextSource::Drop, event->mimeData()->text())) {
        return event->ignore();
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MessageEditor::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blinking_.timerId()) {
        caretShown_ = !caretShown_;
        viewport()->update(caretRect(cursor_, cursorAtRowEnd_).toAlignedRect().adjusted(-1, 0, 1, 0));
    } else if (event->timerId() == dragScrolling_.timerId()) {
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->value() + (lastMousePoint_.y() < 0 ? -1 : 1));
        const auto [position, atEnd] = positionAt(lastMousePoint_);
        setCursor(position, true, atEnd);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

} // namespace tarvex::window
