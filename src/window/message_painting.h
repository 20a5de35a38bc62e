// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "message_layout.h"

#include <QRectF>
#include <QString>

#include <cstddef>
#include <optional>
#include <utility>

class QFont;
class QPainter;
class QPalette;

namespace tarvex::window {

// Where the rows stand in the view port: inside a margin, the first row in
// sight at the top and each row below the one before.
struct RowPlacement {
    static constexpr int kMargin = 4;

    std::size_t firstRow = 0;
    int rowHeight = 1;

    int top(std::size_t row) const;
    // The caret's bar at position, at the end of its row or the start of the next.
    QRectF caretRect(const MessageLayout& layout, std::size_t position, bool atRowEnd) const;
};

// What the view shows besides the text.
struct MessageDecoration {
    std::pair<std::size_t, std::size_t> selection;
    // Text being composed by an input method, over the text at `composedAt`.
    QString composed;
    QRectF composedAt;
    // A bar in the text's colour: the caret, or where a drop would go.
    std::optional<QRectF> bar;
};

// Draws the rows of `text`, laid out by `layout`, that fall inside `area` of a
// view port `height` high, and the decoration over them.
void paintMessage(QPainter& painter, const MessageLayout& layout, const QString& text, const QPalette& colours,
                  const QFont& font, QRect area, int height, const RowPlacement& rows,
                  const MessageDecoration& decoration);

} // namespace tarvex::window
