// SPDX-License-Identifier: GPL-3.0-or-later

// Input methods: committed text goes in as typed text does, composed text is
// only shown; the method reads the cursor's row around it.

#include "message_text_control.h"

#include <QInputMethodEvent>

#include <algorithm>

namespace tarvex::window {

void MessageTextControl::inputMethod(QInputMethodEvent* event) {
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
    view_.decorationChanged();
    event->accept();
}

QVariant MessageTextControl::inputMethodQuery(Qt::InputMethodQuery query) const {
    const MessageLayout::Row& row = rows_[cursorRow()];
    switch (query) {
    case Qt::ImSurroundingText:
        return text_.mid(static_cast<qsizetype>(row.start), static_cast<qsizetype>(row.end - row.start));
    case Qt::ImCursorPosition:
        return static_cast<int>(cursor_ - row.start);
    case Qt::ImAnchorPosition:
        return static_cast<int>(std::clamp(anchor_, row.start, row.end) - row.start);
    case Qt::ImCurrentSelection:
        return selectedText();
    case Qt::ImMaximumTextLength:
        return document_.limit() > 0 ? QVariant(static_cast<qulonglong>(document_.limit())) : QVariant();
    default:
        return {};
    }
}

} // namespace tarvex::window
