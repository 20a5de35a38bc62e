// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_editor_accessible.h"

#include "accessible_text.h"
#include "message_editor.h"

#include "i18n/fill.h"
#include "i18n/marks.h"
#include "platform/qt_text.h"

#include <QAccessible>

#include <algorithm>

namespace tarvex::window {

namespace {

using platform::qt;

QAccessibleInterface* createInterface(const QString& /*className*/, QObject* object) {
    if (auto* editor = qobject_cast<MessageEditor*>(object)) {
        return new MessageEditorAccessible(editor);
    }
    return nullptr;
}

} // namespace

MessageEditorAccessible::MessageEditorAccessible(MessageEditor* editor)
    : QAccessibleWidget(editor, QAccessible::EditableText) {}

MessageEditor* MessageEditorAccessible::editor() const {
    return static_cast<MessageEditor*>(widget());
}

const AccessibleText& MessageEditorAccessible::reading() const {
    return editor()->accessibleText();
}

void* MessageEditorAccessible::interface_cast(QAccessible::InterfaceType type) {
    switch (type) {
    case QAccessible::TextInterface: return static_cast<QAccessibleTextInterface*>(this);
    case QAccessible::EditableTextInterface: return static_cast<QAccessibleEditableTextInterface*>(this);
    default: return QAccessibleWidget::interface_cast(type);
    }
}

QAccessible::State MessageEditorAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString MessageEditorAccessible::text(QAccessible::Text kind) const {
    // The view fills the message area, which carries the name and tooltip.
    const QWidget* area = editor()->parentWidget();
    switch (kind) {
    case QAccessible::Name: {
        QString name = editor()->accessibleName();
        if (name.isEmpty() && area != nullptr) {
            name = !area->accessibleName().isEmpty() ? area->accessibleName() : area->toolTip();
        }
        return name;
    }
    case QAccessible::Description: {
        if (area != nullptr && !area->accessibleDescription().isEmpty()) {
            return area->accessibleDescription();
        }
        const std::size_t limit = editor()->limit();
        if (limit == 0) {
            /* TRANSLATORS: the description a screen reader gives of the message area. */
            return qt(_("The message to encrypt, or the cipher text to decrypt."));
        }
        /* TRANSLATORS: the description a screen reader gives of the message
           area in ICQ mode, which takes {limit} characters at most. */
        return qt(i18n::fill(P_("The message to encrypt, or the cipher text to decrypt. It holds at most {limit} "
                                "character.",
                                "The message to encrypt, or the cipher text to decrypt. It holds at most {limit} "
                                "characters.",
                                limit),
                             {{"limit", std::to_string(limit)}}));
    }
    case QAccessible::Value: return reading().text();
    default: return QAccessibleWidget::text(kind);
    }
}

void MessageEditorAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !editor()->hasSelection()) {
        return;
    }
    const std::size_t cursor = editor()->cursorPosition();
    const std::size_t anchor = editor()->anchorPosition();
    *startOffset = reading().offsetOf(std::min(cursor, anchor));
    *endOffset = reading().offsetOf(std::max(cursor, anchor));
}

int MessageEditorAccessible::selectionCount() const {
    return editor()->hasSelection() ? 1 : 0;
}

void MessageEditorAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void MessageEditorAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) {
        editor()->setCursorPosition(editor()->cursorPosition());
    }
}

void MessageEditorAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0) {
        editor()->select(reading().positionOf(startOffset), reading().positionOf(endOffset));
    }
}

int MessageEditorAccessible::cursorPosition() const {
    return reading().offsetOf(editor()->cursorPosition());
}

void MessageEditorAccessible::setCursorPosition(int position) {
    editor()->setCursorPosition(reading().positionOf(position));
}

QString MessageEditorAccessible::text(int startOffset, int endOffset) const {
    const QString& text = reading().text();
    if (endOffset < 0 || endOffset > text.size()) {
        endOffset = static_cast<int>(text.size());
    }
    startOffset = std::clamp(startOffset, 0, endOffset);
    return text.mid(startOffset, endOffset - startOffset);
}

int MessageEditorAccessible::characterCount() const {
    return reading().length();
}

QRect MessageEditorAccessible::characterRect(int offset) const {
    const QRect rect = editor()->codeRect(reading().positionOf(offset));
    const QWidget* viewport = editor()->viewport();
    return {viewport->mapToGlobal(rect.topLeft()), rect.size()};
}

int MessageEditorAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = editor()->viewport()->mapFromGlobal(point);
    if (!editor()->viewport()->rect().contains(local)) {
        return -1;
    }
    return reading().offsetOf(editor()->positionAtPoint(local));
}

void MessageEditorAccessible::scrollToSubstring(int startIndex, int /*endIndex*/) {
    editor()->scrollToPosition(reading().positionOf(startIndex));
}

QString MessageEditorAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // One font and colour for the whole text: no runs to report.
    *startOffset = 0;
    *endOffset = characterCount();
    if (offset < 0 || offset > *endOffset) {
        *startOffset = *endOffset = -1;
    }
    return {};
}

std::pair<int, int> MessageEditorAccessible::characterAround(int offset) const {
    const auto [start, end] = editor()->characterAt(reading().positionOf(offset));
    return {reading().offsetOf(start), reading().offsetOf(end)};
}

QString MessageEditorAccessible::characterText(std::pair<int, int> character, int* startOffset,
                                               int* endOffset) const {
    *startOffset = character.first;
    *endOffset = character.second;
    return reading().text().mid(character.first, character.second - character.first);
}

QString MessageEditorAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                              int* startOffset, int* endOffset) const {
    if (boundaryType != QAccessible::CharBoundary) {
        return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
    }
    if (offset < 0 || offset >= characterCount()) {
        *startOffset = *endOffset = -1;
        return {};
    }
    return characterText(characterAround(offset), startOffset, endOffset);
}

QString MessageEditorAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                                  int* startOffset, int* endOffset) const {
    if (boundaryType != QAccessible::CharBoundary) {
        return QAccessibleTextInterface::textBeforeOffset(offset, boundaryType, startOffset, endOffset);
    }
    const int start = offset >= characterCount() ? characterCount() : characterAround(offset).first;
    if (offset < 0 || start <= 0) {
        *startOffset = *endOffset = -1;
        return {};
    }
    return characterText(characterAround(start - 1), startOffset, endOffset);
}

QString MessageEditorAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                                 int* startOffset, int* endOffset) const {
    if (boundaryType != QAccessible::CharBoundary) {
        return QAccessibleTextInterface::textAfterOffset(offset, boundaryType, startOffset, endOffset);
    }
    if (offset < 0 || offset >= characterCount()) {
        *startOffset = *endOffset = -1;
        return {};
    }
    const int end = characterAround(offset).second;
    if (end >= characterCount()) {
        *startOffset = *endOffset = -1;
        return {};
    }
    return characterText(characterAround(end), startOffset, endOffset);
}

void MessageEditorAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, QString());
}

void MessageEditorAccessible::insertText(int offset, const QString& text) {
    replaceText(offset, offset, text);
}

void MessageEditorAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    editor()->replaceRange(reading().positionOf(startOffset), reading().positionOf(endOffset), text);
}

void installMessageEditorAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    (void)installed;
}

void announceTextChange(MessageEditor* editor, const QString& before, const QString& after) {
    const AccessibleTextChange change = differenceBetween(before, after);
    if (change.removed.isEmpty() && change.inserted.isEmpty()) {
        return;
    }
    if (change.removed.isEmpty()) {
        QAccessibleTextInsertEvent event(editor, change.offset, change.inserted);
        QAccessible::updateAccessibility(&event);
    } else if (change.inserted.isEmpty()) {
        QAccessibleTextRemoveEvent event(editor, change.offset, change.removed);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextUpdateEvent event(editor, change.offset, change.removed, change.inserted);
        QAccessible::updateAccessibility(&event);
    }
}

void announceCursor(MessageEditor* editor, int offset) {
    QAccessibleTextCursorEvent event(editor, offset);
    QAccessible::updateAccessibility(&event);
}

void announceSelection(MessageEditor* editor, int startOffset, int endOffset) {
    QAccessibleTextSelectionEvent event(editor, startOffset, endOffset);
    QAccessible::updateAccessibility(&event);
}

} // namespace tarvex::window
