// SPDX-License-Identifier: GPL-3.0-or-later

// Keys: typing, moving and selecting, and the editing shortcuts.

#include "message_text_control.h"

#include "exchange/clipboard_commands.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace tarvex::window {

namespace {

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

using Move = MessageTextControl::Move;

struct Binding {
    QKeySequence::StandardKey key;
    Move move;
    bool select;
};

constexpr Binding kMoves[] = {
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

} // namespace

bool MessageTextControl::shortcutOverride(QKeyEvent* event) {
    if (!isEditingShortcut(*event)) {
        return false;
    }
    // Copy, paste, cut and undo act on the text while it has the focus.
    event->accept();
    return true;
}

void MessageTextControl::keyPress(QKeyEvent* event) {
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

} // namespace tarvex::window
