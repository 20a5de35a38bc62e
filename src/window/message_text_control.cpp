// SPDX-License-Identifier: GPL-3.0-or-later

// The cursor, the selection and the edits; the events that ask for them are
// in message_text_control_keys.cpp, _input_method.cpp and _pointer.cpp.

#include "message_text_control.h"

#include "incoming_line_breaks.h"

#include "exchange/clipboard_commands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace tarvex::window {

namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

} // namespace

MessageTextControl::MessageTextControl(MessageTextView& view, const MessageLayout& layout)
    : view_(view), layout_(layout) {}

bool MessageTextControl::setText(QString text) {
    if (!document_.setText(std::move(text))) {
        return false;
    }
    cursor_ = anchor_ = 0;
    cursorAtRowEnd_ = false;
    goalX_ = -1;
    view_.textEdited();
    return true;
}

std::pair<std::size_t, std::size_t> MessageTextControl::selectionRange() const {
    return {std::min(cursor_, anchor_), std::max(cursor_, anchor_)};
}

QString MessageTextControl::selectedText() const {
    const auto [from, to] = selectionRange();
    return text_.mid(static_cast<qsizetype>(from), static_cast<qsizetype>(to - from));
}

void MessageTextControl::selectAll() {
    anchor_ = 0;
    setCursor(document_.size(), true);
}

void MessageTextControl::select(std::size_t anchor, std::size_t position) {
    anchor_ = layout_.startOfCharacter(std::min(anchor, document_.size()));
    setCursor(layout_.startOfCharacter(std::min(position, document_.size())), true);
}

void MessageTextControl::moveCursor(Move move, bool select) {
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
        const std::size_t page = view_.visibleRowCount();
        view_.scrollRows(static_cast<int>(page));
        return toRow(std::min(row + page, rows_.size() - 1));
    }
    case Move::PreviousPage: {
        const std::size_t page = view_.visibleRowCount();
        view_.scrollRows(-static_cast<int>(page));
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

void MessageTextControl::setCursor(std::size_t position, bool select, bool atRowEnd) {
    cursor_ = position;
    if (!select) {
        anchor_ = position;
    }
    cursorAtRowEnd_ = atRowEnd;
    goalX_ = -1;
    document_.breakTyping();
    view_.cursorMoved();
}

std::size_t MessageTextControl::room() const {
    const auto [from, to] = selectionRange();
    return document_.room(from, to);
}

QString MessageTextControl::fitToRoom(QString text, Fit fit) const {
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

void MessageTextControl::replaceSelection(QStringView text) {
    const auto [from, to] = selectionRange();
    if (!document_.replace(from, to, text)) {
        return;
    }
    cursor_ = anchor_ = from + static_cast<std::size_t>(text.size());
    cursorAtRowEnd_ = false;
    goalX_ = -1;
    view_.textEdited();
}

void MessageTextControl::deleteBackOrForth(Move move) {
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

void MessageTextControl::insertForeignText(const QString& text, Fit fit) {
    const QString fitting = fitToRoom(lineBreaksUnified(text), fit);
    if (!fitting.isEmpty()) {
        replaceSelection(fitting);
    }
}

bool MessageTextControl::insertFrom(TextSource source, const QString& text) {
    const QString unified = lineBreaksUnified(text);
    const std::size_t length = MessageDocument::charactersIn(unified);
    const std::size_t fits = room();
    if (length > fits) {
        if (source == TextSource::Drop) {
            // Not inside the drop: the program that the text came from waits until it ends.
            QMetaObject::invokeMethod(
                this, [this, length, fits] { view_.refuseInsertion(TextSource::Drop, length, fits); },
                Qt::QueuedConnection);
        } else {
            view_.refuseInsertion(source, length, fits);
        }
        return false;
    }
    if (!unified.isEmpty()) {
        replaceSelection(unified);
    }
    return true;
}

void MessageTextControl::copy() const {
    if (hasSelection()) {
        exchange::offerText(selectedText());
    }
}

void MessageTextControl::cut() {
    if (hasSelection()) {
        copy();
        replaceSelection({});
    }
}

void MessageTextControl::paste() {
    insertFrom(TextSource::Clipboard, QGuiApplication::clipboard()->text());
}

void MessageTextControl::undo() {
    historyStepped(document_.undo());
}

void MessageTextControl::redo() {
    historyStepped(document_.redo());
}

void MessageTextControl::historyStepped(std::size_t position) {
    if (position == MessageDocument::npos) {
        return;
    }
    cursor_ = anchor_ = position;
    cursorAtRowEnd_ = false;
    goalX_ = -1;
    view_.textEdited();
}

void MessageTextControl::offerSelection() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection()) {
        exchange::offerText(selectedText(), QClipboard::Selection);
    }
}

bool MessageTextControl::editable() {
    return view_.widget()->isEnabled();
}

std::optional<std::size_t> MessageTextControl::dropPosition() const {
    if (!dropping_) {
        return std::nullopt;
    }
    return dropPosition_;
}

} // namespace tarvex::window
