// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_painting.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QTextLayout>

#include <algorithm>
#include <limits>

namespace tarvex::window {

namespace {

// A control's name in a frame that fills its cell.
void drawControlName(QPainter& painter, const QRectF& cell, const QString& name, const QFont& nameFont) {
    constexpr qreal gap = MessageLayout::kFrameGap;
    const QRectF frame(cell.left() + gap + 0.5, cell.top() + 1.5, cell.width() - 2 * gap - 1, cell.height() - 3);
    const QFont font = painter.font();
    painter.drawRect(frame);
    painter.setFont(nameFont);
    painter.drawText(frame, Qt::AlignCenter, name);
    painter.setFont(font);
}

} // namespace

int RowPlacement::top(std::size_t row) const {
    const auto first = static_cast<long long>(firstRow);
    const long long rowTop = (static_cast<long long>(row) - first) * rowHeight + kMargin;
    return static_cast<int>(std::clamp<long long>(rowTop, -rowHeight * 2, std::numeric_limits<int>::max() / 2));
}

QRectF RowPlacement::caretRect(const MessageLayout& layout, std::size_t position, bool atRowEnd) const {
    const std::size_t row = layout.rowOf(position, atRowEnd);
    const qreal x = layout.xOf(row, position) + kMargin;
    return {x, static_cast<qreal>(top(row)), 1, static_cast<qreal>(rowHeight)};
}

void paintMessage(QPainter& painter, const MessageLayout& layout, const QString& text, const QPalette& colours,
                  const QFont& font, QRect area, int height, const RowPlacement& rows,
                  const MessageDecoration& decoration) {
    painter.setFont(font);
    const QColor textColour = colours.color(QPalette::Text);
    const QColor highlight = colours.color(QPalette::Highlight);
    const QColor highlightedText = colours.color(QPalette::HighlightedText);
    const auto [from, to] = decoration.selection;
    const std::vector<MessageLayout::Row>& laidOut = layout.rows();
    constexpr int margin = RowPlacement::kMargin;

    for (std::size_t row = rows.firstRow; row < laidOut.size(); ++row) {
        const int top = rows.top(row);
        if (top >= height || top > area.bottom()) {
            break;
        }
        if (top + rows.rowHeight <= area.top()) {
            continue;
        }
        const MessageLayout::Row& shown = laidOut[row];
        qreal x = 0;
        if (layout.isShaped(row)) {
            // Right-to-left text, in the order it reads.
            const auto shaped = layout.shapedRow(row);
            QList<QTextLayout::FormatRange> selection;
            if (to > shown.start && from < shown.end) {
                QTextLayout::FormatRange range;
                range.start = static_cast<int>(std::max(from, shown.start) - shown.start);
                range.length = static_cast<int>(std::min(to, shown.end) - shown.start) - range.start;
                range.format.setBackground(highlight);
                range.format.setForeground(highlightedText);
                selection.append(range);
            }
            painter.setPen(textColour);
            shaped->draw(&painter, QPointF(margin, top), selection);
            x = shaped->lineCount() > 0 ? shaped->lineAt(0).naturalTextWidth() : 0;
            // Each control's picture holds the place of its frame.
            bool framed = false;
            for (std::size_t i = shown.start; i < shown.end && !framed; ++i) {
                framed = layout.isFramed(text[static_cast<qsizetype>(i)].unicode());
            }
            const MessageLayout::VisualRow visual = framed ? layout.visualRow(row) : MessageLayout::VisualRow{};
            for (const MessageLayout::VisualRow::Extent& character : visual.characters) {
                const std::size_t i = character.start;
                if (!layout.isFramed(text[static_cast<qsizetype>(i)].unicode())) continue;
                const QRectF cell(character.left + margin, top, character.right - character.left, rows.rowHeight);
                const bool selected = i >= from && i < to;
                painter.fillRect(cell, selected ? highlight : colours.color(QPalette::Base));
                painter.setPen(selected ? highlightedText : textColour);
                drawControlName(painter, cell, layout.cellAt(i, 0).control, layout.nameFont());
            }
        } else {
            const auto baseline = static_cast<qreal>(top + layout.ascent());
            for (std::size_t i = shown.start; i < shown.end;) {
                const MessageLayout::Cell cell = layout.cellAt(i, x);
                const bool selected = i >= from && i < to;
                if (selected) {
                    painter.fillRect(QRectF(x + margin, top, cell.width, rows.rowHeight), highlight);
                }
                painter.setPen(selected ? highlightedText : textColour);
                if (!cell.control.isEmpty()) {
                    drawControlName(painter, QRectF(x + margin, top, cell.width, rows.rowHeight), cell.control,
                                    layout.nameFont());
                } else if (!cell.shown.isEmpty()) {
                    painter.drawText(QPointF(x + margin, baseline), cell.shown);
                }
                x += cell.width;
                i = cell.end;
            }
        }
        // A selected line break shows as a selected blank after the row.
        const bool breaksLine = row + 1 < laidOut.size() && laidOut[row + 1].start != shown.end;
        if (breaksLine && shown.end >= from && shown.end < to) {
            painter.fillRect(QRectF(x + margin, top, layout.lineBreakWidth(), rows.rowHeight), highlight);
        }
    }

    if (!decoration.composed.isEmpty()) {
        const QRectF& at = decoration.composedAt;
        QFont underlined = font;
        underlined.setUnderline(true);
        painter.setFont(underlined);
        const qreal width = QFontMetricsF(underlined).horizontalAdvance(decoration.composed);
        painter.fillRect(QRectF(at.left(), at.top(), width, at.height()), colours.color(QPalette::Base));
        painter.setPen(textColour);
        painter.drawText(QPointF(at.left(), at.top() + layout.ascent()), decoration.composed);
    }
    if (decoration.bar) {
        painter.fillRect(*decoration.bar, textColour);
    }
}

} // namespace tarvex::window
