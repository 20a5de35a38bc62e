// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessibleWidget>

#include <utility>

namespace tarvex::window {

class AccessibleText;
class MessageEditor;

// The message view as assistive technology sees it: an editable multi-line
// text whose characters, caret and selection a screen reader can read and set.
class MessageEditorAccessible : public QAccessibleWidget,
                                public QAccessibleTextInterface,
                                public QAccessibleEditableTextInterface {
public:
    explicit MessageEditorAccessible(MessageEditor* editor);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;
    // A leaf, as text boxes are: the view port and scroll bars are its own business.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;
    // A character is a whole one as the caret steps over it (a control its whole reading).
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;

    // QAccessibleEditableTextInterface
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    MessageEditor* editor() const;
    const AccessibleText& reading() const;
    // The reading of the character around offset: [start, end) in offsets.
    std::pair<int, int> characterAround(int offset) const;
    QString characterText(std::pair<int, int> character, int* startOffset, int* endOffset) const;
};

// Makes every MessageEditor reachable to assistive technology; safe to call more than once.
void installMessageEditorAccessibility();

// Tell assistive technology what changed in the view, in offsets of the text it reads.
void announceTextChange(MessageEditor* editor, const QString& before, const QString& after);
void announceCursor(MessageEditor* editor, int offset);
void announceSelection(MessageEditor* editor, int startOffset, int endOffset);

} // namespace tarvex::window
