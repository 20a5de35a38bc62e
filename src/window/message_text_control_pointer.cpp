// SPDX-License-Identifier: GPL-3.0-or-later

// The mouse and drops: clicking places the cursor, dragging selects (scrolling
// on past the view's edge), the middle button pastes the selection, the right
// one offers the editing commands, and text dropped on the view goes where it
// falls.

#include "message_text_control.h"

#include "i18n/marks.h"
#include "platform/qt_text.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QWidget>

#include <string>
#include <utility>

namespace tarvex::window {

namespace {

constexpr int kDragScrollInterval = 50;

using platform::qt;

} // namespace

bool MessageTextControl::mousePress(QMouseEvent* event) {
    const auto [position, atEnd] = view_.positionAt(event->position());
    if (event->button() == Qt::LeftButton) {
        const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
        setCursor(position, extend, atEnd);
        selectingByMouse_ = true;
        lastMousePoint_ = event->position();
        event->accept();
        return true;
    }
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        setCursor(position, false, atEnd);
        insertFrom(TextSource::Selection, QGuiApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return true;
    }
    return false;
}

bool MessageTextControl::mouseMove(QMouseEvent* event) {
    if (!selectingByMouse_) {
        return false;
    }
    lastMousePoint_ = event->position();
    const auto [position, atEnd] = view_.positionAt(lastMousePoint_);
    setCursor(position, true, atEnd);
    const bool outside = lastMousePoint_.y() < 0 || lastMousePoint_.y() > view_.viewportHeight();
    if (outside && !dragScrolling_.isActive()) {
        dragScrolling_.start(kDragScrollInterval, this);
    } else if (!outside) {
        dragScrolling_.stop();
    }
    return true;
}

bool MessageTextControl::mouseRelease(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !selectingByMouse_) {
        return false;
    }
    selectingByMouse_ = false;
    dragScrolling_.stop();
    offerSelection();
    event->accept();
    return true;
}

bool MessageTextControl::mouseDoubleClick(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return false;
    }
    const auto [word, end] = layout_.wordAround(view_.positionAt(event->position()).first);
    anchor_ = word;
    setCursor(end, true);
    offerSelection();
    event->accept();
    return true;
}

void MessageTextControl::timerEvent(QTimerEvent* event) {
    if (event->timerId() != dragScrolling_.timerId()) {
        return QObject::timerEvent(event);
    }
    view_.scrollRows(lastMousePoint_.y() < 0 ? -1 : 1);
    const auto [position, atEnd] = view_.positionAt(lastMousePoint_);
    setCursor(position, true, atEnd);
}

void MessageTextControl::contextMenu(QContextMenuEvent* event) {
    QMenu menu(view_.widget());
    const bool canEdit = editable();
    // Its words apart from the window's buttons and menu items of the same English.
    const auto item = [&](const std::string& caption, auto&&... slot) {
        return menu.addAction(qt(caption), this, std::forward<decltype(slot)>(slot)...);
    };
    item(C_("context menu", "&Undo"), &MessageTextControl::undo)->setEnabled(canEdit && document_.canUndo());
    item(C_("context menu", "&Redo"), &MessageTextControl::redo)->setEnabled(canEdit && document_.canRedo());
    menu.addSeparator();
    item(C_("context menu", "Cu&t"), &MessageTextControl::cut)->setEnabled(canEdit && hasSelection());
    item(C_("context menu", "&Copy"), &MessageTextControl::copy)->setEnabled(hasSelection());
    item(C_("context menu", "&Paste"), &MessageTextControl::paste)
        ->setEnabled(canEdit && !QGuiApplication::clipboard()->text().isEmpty());
    item(C_("context menu", "Delete"), [this] { replaceSelection({}); })->setEnabled(canEdit && hasSelection());
    menu.addSeparator();
    item(C_("context menu", "Select All"), &MessageTextControl::selectAll)->setEnabled(!text_.isEmpty());
    menu.exec(event->globalPos());
}

void MessageTextControl::dragEnter(QDragEnterEvent* event) {
    if (event->mimeData()->hasText()) {
        dropping_ = true;
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void MessageTextControl::dragMove(QDragMoveEvent* event) {
    if (!event->mimeData()->hasText()) {
        return event->ignore();
    }
    dropPosition_ = view_.positionAt(event->position()).first;
    dropping_ = true;
    view_.decorationChanged();
    event->acceptProposedAction();
}

void MessageTextControl::dragLeave() {
    dropping_ = false;
    view_.decorationChanged();
}

void MessageTextControl::drop(QDropEvent* event) {
    dropping_ = false;
    if (!event->mimeData()->hasText()) {
        return event->ignore();
    }
    setCursor(view_.positionAt(event->position()).first, false);
    if (!insertFrom(TextSource::Drop, event->mimeData()->text())) {
        return event->ignore();
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

} // namespace tarvex::window
