// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "message_area.h"
#include "message_document.h"
#include "message_layout.h"

#include <QBasicTimer>
#include <QObject>
#include <QPointF>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

class QContextMenuEvent;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QEvent;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace tarvex::window {

// What the text control needs of the widget that shows the text.
class MessageTextView {
public:
    // The position nearest a point of the view port, and whether it is the end
    // of its row rather than the start of the next.
    virtual std::pair<std::size_t, bool> positionAt(QPointF point) const = 0;
    virtual std::size_t visibleRowCount() const = 0;
    virtual int viewportHeight() const = 0;
    virtual void scrollRows(int rows) = 0;
    // The text changed; the cursor stands where the change left it.
    virtual void textEdited() = 0;
    // The cursor or the selection moved.
    virtual void cursorMoved() = 0;
    // What is shown beside the text changed: text being composed, a drop's place.
    virtual void decorationChanged() = 0;
    // A pasted or dropped text of `length` characters was refused whole: only `room` fit.
    virtual void refuseInsertion(TextSource source, std::size_t length, std::size_t room) = 0;
    // The widget, for menus and for whether the text may be edited.
    virtual QWidget* widget() = 0;

protected:
    ~MessageTextView() = default;
};

// The text and everything done to it: the cursor and the selection, edits and
// their history, the clipboard, and the keys, input methods, mouse and drops
// that ask for them. It draws nothing and knows of no scroll bar: the view
// says where a point falls and hears of every change.
class MessageTextControl : public QObject {
    Q_OBJECT
public:
    enum class Fit { WholeOrNothing, CutToRoom };
    enum class Move {
        NextChar, PreviousChar, NextWord, PreviousWord, NextRow, PreviousRow, NextPage, PreviousPage,
        StartOfRow, EndOfRow, StartOfText, EndOfText,
    };

    MessageTextControl(MessageTextView& view, const MessageLayout& layout);

    const MessageDocument& document() const { return document_; }
    MessageDocument& document() { return document_; }
    const QString& text() const { return document_.text(); }

    // Cuts to the limit; the cursor goes to the start. False when the text stays as it was.
    bool setText(QString text);

    std::size_t cursor() const { return cursor_; }
    std::size_t anchor() const { return anchor_; }
    bool cursorAtRowEnd() const { return cursorAtRowEnd_; }
    std::size_t cursorRow() const { return layout_.rowOf(cursor_, cursorAtRowEnd_); }
    bool hasSelection() const { return cursor_ != anchor_; }
    std::pair<std::size_t, std::size_t> selectionRange() const;
    QString selectedText() const;

    void setCursor(std::size_t position, bool select, bool atRowEnd = false);
    void moveCursor(Move move, bool select);
    void selectAll();
    // Selects from anchor to position, the cursor at position; a position
    // inside a character goes before it.
    void select(std::size_t anchor, std::size_t position);

    // Replaces the selection, the cursor after the new text.
    void replaceSelection(QStringView text);
    // Text from outside, its line breaks made CR LF, cut to the room or not
    // put in unless whole.
    void insertForeignText(const QString& text, Fit fit);

    void copy() const;
    void cut();
    void paste();
    void undo();
    void redo();

    // What is being composed by an input method, shown at the cursor; not yet text.
    const QString& preedit() const { return preedit_; }
    // Where dragged text would go, while a drag is over the view.
    std::optional<std::size_t> dropPosition() const;

    // The events of the view that are about the text. Those that return a
    // bool say whether they took the event; the view handles the rest.
    bool shortcutOverride(QKeyEvent* event);
    void keyPress(QKeyEvent* event);
    void inputMethod(QInputMethodEvent* event);
    // The answers about the text around the cursor: the surrounding text, the
    // cursor and anchor positions, the selection and the most it may hold.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const;
    bool mousePress(QMouseEvent* event);
    bool mouseMove(QMouseEvent* event);
    bool mouseRelease(QMouseEvent* event);
    bool mouseDoubleClick(QMouseEvent* event);
    void contextMenu(QContextMenuEvent* event);
    void dragEnter(QDragEnterEvent* event);
    void dragMove(QDragMoveEvent* event);
    void dragLeave();
    void drop(QDropEvent* event);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    std::size_t room() const;
    QString fitToRoom(QString text, Fit fit) const;
    void deleteBackOrForth(Move move);
    // Pasted and dropped text goes in whole or not at all: a message cut short is a
    // trap. False when it was refused.
    bool insertFrom(TextSource source, const QString& text);
    // After undo or redo: the cursor goes to `position`, or nothing happened at npos.
    void historyStepped(std::size_t position);
    void offerSelection() const;
    bool editable();

    MessageTextView& view_;
    const MessageLayout& layout_;
    MessageDocument document_;
    // The document's text, for the many readers here.
    const QString& text_ = document_.text();
    const std::vector<MessageLayout::Row>& rows_ = layout_.rows();

    std::size_t cursor_ = 0;
    std::size_t anchor_ = 0;
    // At a wrap the end of one row and the start of the next are the same position.
    bool cursorAtRowEnd_ = false;
    qreal goalX_ = -1;

    QString preedit_;
    QBasicTimer dragScrolling_;
    bool selectingByMouse_ = false;
    QPointF lastMousePoint_;
    std::size_t dropPosition_ = 0;
    bool dropping_ = false;
};

} // namespace tarvex::window
