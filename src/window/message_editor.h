// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "accessible_text.h"
#include "message_area.h"
#include "message_layout.h"
#include "message_painting.h"
#include "message_text_control.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QString>

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace tarvex::window {

// The editing view behind MessageArea, as QPlainTextEdit is to its text
// control: the layout breaks the text into rows, this widget scrolls through
// them and draws only the rows in sight (message_painting.h), and the
// MessageTextControl turns keys, the mouse, input methods and drops into
// cursor moves and edits. A cipher text is one line of up to megabytes, which
// a general text layout would shape whole before it could show any of it.
class MessageEditor : public QAbstractScrollArea, private MessageTextView {
    Q_OBJECT
public:
    explicit MessageEditor(QWidget* parent = nullptr);

    // Unicode, CR LF line breaks.
    const QString& text() const { return control_.text(); }
    // Cuts to the limit; emits textChanged() if the text differs.
    void setText(QString text);
    // In characters, CR LF two.
    std::size_t length() const { return control_.document().length(); }

    std::size_t limit() const { return control_.document().limit(); }
    void setLimit(std::size_t limit) { control_.document().setLimit(limit); }
    // The limit, or without one the most the window holds.
    std::size_t capacity() const { return control_.document().capacity(); }

    // Positions count UTF-16 units; they lie between whole characters, never
    // inside a CR LF or a surrogate pair.
    std::size_t cursorPosition() const { return control_.cursor(); }
    // Moves the cursor and drops the selection; a position inside a character
    // (a CR LF, a surrogate pair, a letter and its marks) goes before it.
    void setCursorPosition(std::size_t position);
    std::size_t anchorPosition() const { return control_.anchor(); }
    bool hasSelection() const { return control_.hasSelection(); }
    QString selectedText() const { return control_.selectedText(); }
    void selectAll() { control_.selectAll(); }
    // Selects from anchor to position, the cursor at position.
    void select(std::size_t anchor, std::size_t position) { control_.select(anchor, position); }
    // Replaces [from, to) as typing would: nothing when the text would not fit whole.
    void replaceRange(std::size_t from, std::size_t to, const QString& text);

    // The rows the text is shown in, and the row of the cursor.
    std::size_t rowCount() const { return layout_.rows().size(); }
    std::size_t cursorRow() const { return control_.cursorRow(); }
    std::size_t firstVisibleRow() const;
    std::size_t visibleRowCount() const override;
    // Where the character at position is drawn (the line break's place at a row's end),
    // and the position nearest a point, both in view port coordinates.
    QRect codeRect(std::size_t position) const;
    std::size_t positionAtPoint(QPoint point) const;
    // Scrolls the row holding position into sight; the cursor stays.
    void scrollToPosition(std::size_t position);

    // The whole character that position falls in: [start, end).
    std::pair<std::size_t, std::size_t> characterAt(std::size_t position) const;

    // The text as assistive technology reads it.
    const AccessibleText& accessibleText() const;

    void copy() const { control_.copy(); }
    void cut() { control_.cut(); }
    void paste() { control_.paste(); }
    void undo() { control_.undo(); }
    void redo() { control_.redo(); }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void textChanged();
    // A pasted or dropped text of `length` characters was refused whole: only `room` fit.
    void insertionRefused(tarvex::window::TextSource source, std::size_t length, std::size_t room);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // MessageTextView
    std::pair<std::size_t, bool> positionAt(QPointF point) const override;
    int viewportHeight() const override;
    void scrollRows(int rows) override;
    void textEdited() override;
    void cursorMoved() override;
    void decorationChanged() override;
    void refuseInsertion(TextSource source, std::size_t length, std::size_t room) override;
    QWidget* widget() override { return this; }

    RowPlacement rowPlacement() const;
    void relayout();
    void updateScrollBar();
    qreal wrapWidth() const;
    void ensureRowVisible(std::size_t row);
    void restartBlinking();
    // Before any other notice of a change: screen readers map offsets with the new text.
    void announceText();
    void announceCursorAndSelection();

    MessageLayout layout_;
    MessageTextControl control_{*this, layout_};
    int laidOutWidth_ = -1;

    // Kept only while assistive technology listens, to tell it what changed.
    mutable std::optional<AccessibleText> accessibleText_;
    std::pair<std::size_t, std::size_t> announcedSelection_{0, 0};

    QBasicTimer blinking_;
    bool caretShown_ = true;
};

} // namespace tarvex::window
