// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_editor.h"

#include "message_editor_accessible.h"

#include <QAccessible>
#include <QApplication>
#include <QFocusEvent>
#include <QInputMethod>
#include <QKeyEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tarvex::window {

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
    layout_.setFont(font());
    relayout();
}

void MessageEditor::setText(QString text) {
    control_.setText(std::move(text));
}

void MessageEditor::setCursorPosition(std::size_t position) {
    control_.setCursor(layout_.startOfCharacter(std::min(position, control_.document().size())), false);
}

void MessageEditor::replaceRange(std::size_t from, std::size_t to, const QString& text) {
    if (!isEnabled()) {
        return;
    }
    control_.select(from, to);
    if (text.isEmpty()) {
        control_.replaceSelection({});
    } else {
        control_.insertForeignText(text, MessageTextControl::Fit::WholeOrNothing);
    }
}

std::size_t MessageEditor::firstVisibleRow() const {
    return static_cast<std::size_t>(verticalScrollBar()->value());
}

std::size_t MessageEditor::visibleRowCount() const {
    return static_cast<std::size_t>(
        std::max(1, (viewport()->height() - 2 * RowPlacement::kMargin) / layout_.rowHeight()));
}

QRect MessageEditor::codeRect(std::size_t position) const {
    position = std::min(position, control_.document().size());
    const std::size_t row = layout_.rowOf(position, false);
    const auto [x, width] = layout_.extentOf(position);
    return QRectF(x + RowPlacement::kMargin, rowPlacement().top(row), width, layout_.rowHeight()).toAlignedRect();
}

std::size_t MessageEditor::positionAtPoint(QPoint point) const {
    return positionAt(point).first;
}

void MessageEditor::scrollToPosition(std::size_t position) {
    ensureRowVisible(layout_.rowOf(std::min(position, control_.document().size()), false));
}

std::pair<std::size_t, std::size_t> MessageEditor::characterAt(std::size_t position) const {
    const std::size_t start = layout_.startOfCharacter(std::min(position, control_.document().size()));
    return {start, layout_.nextPosition(start)};
}

const AccessibleText& MessageEditor::accessibleText() const {
    if (!accessibleText_) {
        accessibleText_.emplace(text());
    }
    return *accessibleText_;
}

QVariant MessageEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled:
        return isEnabled();
    case Qt::ImCursorRectangle:
        return rowPlacement()
            .caretRect(layout_, control_.cursor(), control_.cursorAtRowEnd())
            .toAlignedRect()
            .translated(viewport()->pos());
    case Qt::ImFont:
        return font();
    case Qt::ImHints:
        return static_cast<int>(inputMethodHints() | Qt::ImhMultiLine);
    case Qt::ImSurroundingText:
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
    case Qt::ImCurrentSelection:
    case Qt::ImMaximumTextLength:
        return control_.inputMethodQuery(query);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// ---- rows and scrolling

RowPlacement MessageEditor::rowPlacement() const {
    return {.firstRow = firstVisibleRow(), .rowHeight = layout_.rowHeight()};
}

qreal MessageEditor::wrapWidth() const {
    return std::max<qreal>(1, viewport()->width() - 2 * RowPlacement::kMargin);
}

void MessageEditor::relayout() {
    laidOutWidth_ = viewport()->width();
    layout_.layOut(text(), wrapWidth());
    updateScrollBar();
}

void MessageEditor::updateScrollBar() {
    const auto visible = static_cast<int>(visibleRowCount());
    const std::size_t rows = layout_.rows().size();
    const int shown = static_cast<int>(std::min<std::size_t>(rows, std::numeric_limits<int>::max()));
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, shown - visible));
    bar->setPageStep(visible);
    bar->setSingleStep(1);
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

std::pair<std::size_t, bool> MessageEditor::positionAt(QPointF point) const {
    const qreal y = point.y() - RowPlacement::kMargin;
    const qreal offset = std::floor(y / layout_.rowHeight()) + static_cast<qreal>(firstVisibleRow());
    const auto last = static_cast<qreal>(layout_.rows().size() - 1);
    const auto row = static_cast<std::size_t>(std::clamp<qreal>(offset, 0, last));
    return layout_.positionAtX(row, point.x() - RowPlacement::kMargin);
}

int MessageEditor::viewportHeight() const {
    return viewport()->height();
}

void MessageEditor::scrollRows(int rows) {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + rows);
}

// ---- what the text control reports

void MessageEditor::textEdited() {
    announceText();
    relayout();
    cursorMoved();
    emit textChanged();
}

void MessageEditor::cursorMoved() {
    ensureRowVisible(control_.cursorRow());
    restartBlinking();
    viewport()->update();
    QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImSurroundingText |
                                           Qt::ImCursorPosition | Qt::ImAnchorPosition);
    announceCursorAndSelection();
}

void MessageEditor::decorationChanged() {
    viewport()->update();
}

void MessageEditor::refuseInsertion(TextSource source, std::size_t length, std::size_t room) {
    emit insertionRefused(source, length, room);
}

void MessageEditor::announceText() {
    if (!QAccessible::isActive()) {
        accessibleText_.reset();
        return;
    }
    const QString before = accessibleText_ ? accessibleText_->text() : QString();
    accessibleText_.emplace(text());
    announceTextChange(this, before, accessibleText_->text());
}

void MessageEditor::announceCursorAndSelection() {
    if (!QAccessible::isActive()) {
        return;
    }
    const AccessibleText& reading = accessibleText();
    window::announceCursor(this, reading.offsetOf(control_.cursor()));
    const auto selection =
        control_.hasSelection() ? control_.selectionRange() : std::pair<std::size_t, std::size_t>{};
    if (selection != announcedSelection_) {
        announcedSelection_ = selection;
        announceSelection(this, reading.offsetOf(selection.first), reading.offsetOf(selection.second));
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

// ---- events

bool MessageEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && control_.shortcutOverride(static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QAbstractScrollArea::event(event);
}

void MessageEditor::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const RowPlacement rows = rowPlacement();
    MessageDecoration decoration{.selection = control_.selectionRange()};
    const QRectF caret = rows.caretRect(layout_, control_.cursor(), control_.cursorAtRowEnd());
    if (!control_.preedit().isEmpty()) {
        decoration.composed = control_.preedit();
        decoration.composedAt = caret;
    }
    if (const std::optional<std::size_t> drop = control_.dropPosition()) {
        decoration.bar = rows.caretRect(layout_, *drop, false);
    } else if (hasFocus() && caretShown_ && isEnabled()) {
        decoration.bar = caret;
    }
    paintMessage(painter, layout_, text(), palette(), font(), event->rect(), viewport()->height(), rows, decoration);
}

void MessageEditor::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (viewport()->width() != laidOutWidth_) {
        // Keep the cursor's row in sight across the new wrapping.
        relayout();
        ensureRowVisible(control_.cursorRow());
    } else {
        updateScrollBar();
    }
}

void MessageEditor::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        layout_.setFont(font());
        relayout();
        ensureRowVisible(control_.cursorRow());
        viewport()->update();
    } else if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange ||
               event->type() == QEvent::ActivationChange) {
        viewport()->update();
    }
}

void MessageEditor::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
}

void MessageEditor::timerEvent(QTimerEvent* event) {
    if (event->timerId() != blinking_.timerId()) {
        return QAbstractScrollArea::timerEvent(event);
    }
    caretShown_ = !caretShown_;
    const QRectF caret = rowPlacement().caretRect(layout_, control_.cursor(), control_.cursorAtRowEnd());
    viewport()->update(caret.toAlignedRect().adjusted(-1, 0, 1, 0));
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

// The rest is the text control's business.

void MessageEditor::keyPressEvent(QKeyEvent* event) {
    control_.keyPress(event);
}

void MessageEditor::inputMethodEvent(QInputMethodEvent* event) {
    control_.inputMethod(event);
}

void MessageEditor::mousePressEvent(QMouseEvent* event) {
    if (!control_.mousePress(event)) QAbstractScrollArea::mousePressEvent(event);
}

void MessageEditor::mouseMoveEvent(QMouseEvent* event) {
    if (!control_.mouseMove(event)) QAbstractScrollArea::mouseMoveEvent(event);
}

void MessageEditor::mouseReleaseEvent(QMouseEvent* event) {
    if (!control_.mouseRelease(event)) QAbstractScrollArea::mouseReleaseEvent(event);
}

void MessageEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!control_.mouseDoubleClick(event)) QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void MessageEditor::contextMenuEvent(QContextMenuEvent* event) {
    control_.contextMenu(event);
}

void MessageEditor::dragEnterEvent(QDragEnterEvent* event) {
    control_.dragEnter(event);
}

void MessageEditor::dragMoveEvent(QDragMoveEvent* event) {
    control_.dragMove(event);
}

void MessageEditor::dragLeaveEvent(QDragLeaveEvent* /*event*/) {
    control_.dragLeave();
}

void MessageEditor::dropEvent(QDropEvent* event) {
    control_.drop(event);
}

} // namespace tarvex::window
