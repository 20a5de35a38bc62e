// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "accessible_text.h"
#include "message_area.h"
#include "message_document.h"
#include "message_layout.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarvex::window {

// The editing view behind MessageArea: the document holds the text, the
// layout breaks it into rows, and this draws only the rows in sight and turns
// keys, the mouse, input methods and drops into edits. A cipher text is one
// line of up to megabytes, which a general text layout would shape whole
// before it could show any of it.
class MessageEditor : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit MessageEditor(QWidget* parent = nullptr);

    // Unicode, CR LF line breaks.
    const QString& text() const { return document_.text(); }
    // Cuts to the limit; emits textChanged() if the text differs.
    void setText(QString text);
    // In characters, CR LF two.
    std::size_t length() const { return document_.length(); }

    std::size_t limit() const { return document_.limit(); }
    void setLimit(std::size_t limit) { document_.setLimit(limit); }
    // The limit, or without one the most the window holds.
    std::size_t capacity() const { return document_.capacity(); }

    // Positions count UTF-16 units; they lie between whole characters, never
    // inside a CR LF or a surrogate pair.
    std::size_t cursorPosition() const { return cursor_; }
    // Moves the cursor and drops the selection; a position inside a character
    // (a CR LF, a surrogate pair, a letter and its marks) goes before it.
    void setCursorPosition(std::size_t position);
    std::size_t anchorPosition() const { return anchor_; }
    bool hasSelection() const { return cursor_ != anchor_; }
    QString selectedText() const;
    void selectAll();
    // Selects from anchor to position, the cursor at position.
    void select(std::size_t anchor, std::size_t position);
    // Replaces [from, to) as typing would: nothing when the text would not fit whole.
    void replaceRange(std::size_t from, std::size_t to, const QString& text);

    // The rows the text is shown in, and the row of the cursor.
    std::size_t rowCount() const { return rows_.size(); }
    std::size_t cursorRow() const;
    std::size_t firstVisibleRow() const;
    std::size_t visibleRowCount() const;
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

    void copy() const;
    void cut();
    void paste();
    void undo();
    void redo();

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
    enum class Fit { WholeOrNothing, CutToRoom };
    enum class Move {
        NextChar, PreviousChar, NextWord, PreviousWord, NextRow, PreviousRow, NextPage, PreviousPage,
        StartOfRow, EndOfRow, StartOfText, EndOfText,
    };

    // Layout.
    void measureFont();
    void relayout();
    void updateScrollBar();
    qreal wrapWidth() const;
    int rowHeight() const { return layout_.rowHeight(); }
    std::pair<std::size_t, bool> positionAt(QPointF point) const;
    QRectF caretRect(std::size_t position, bool atRowEnd) const;
    int rowTop(std::size_t row) const;
    std::pair<std::size_t, std::size_t> selectionRange() const;

    // Cursor and editing.
    void moveCursor(Move move, bool select);
    void setCursor(std::size_t position, bool select, bool atRowEnd = false);
    void cursorMoved();
    // Before any other notice of a change: screen readers map offsets with the new text.
    void textReplaced();
    void ensureCursorVisible();
    void ensureRowVisible(std::size_t row);
    void restartBlinking();
    void offerSelection() const;
    std::size_t room() const;
    QString fitToRoom(QString text, Fit fit) const;
    void replaceSelection(QStringView text);
    void deleteBackOrForth(Move move);
    void insertForeignText(const QString& text, Fit fit);
    // Pasted and dropped text goes in whole or not at all: a message cut short is a
    // trap. False when it was refused.
    bool insertFrom(TextSource source, const QString& text);
    // After undo or redo: the cursor goes to `position`, or nothing happened at npos.
    void historyStepped(std::size_t position);

    MessageDocument document_;
    // The document's text, for the many readers in the view.
    const QString& text_ = document_.text();
    MessageLayout layout_;
    const std::vector<MessageLayout::Row>& rows_ = layout_.rows();
    std::size_t cursor_ = 0;
    std::size_t anchor_ = 0;
    // At a wrap the end of one row and the start of the next are the same position.
    bool cursorAtRowEnd_ = false;
    qreal goalX_ = -1;

    int laidOutWidth_ = -1;

    // Kept only while assistive technology listens, to tell it what changed.
    mutable std::optional<AccessibleText> accessibleText_;
    std::pair<std::size_t, std::size_t> announcedSelection_{0, 0};

    QString preedit_;
    QBasicTimer blinking_;
    bool caretShown_ = true;
    QBasicTimer dragScrolling_;
    bool selectingByMouse_ = false;
    QPointF lastMousePoint_;
    std::size_t dropPosition_ = 0;
    bool dropping_ = false;
};

} // namespace tarvex::window
