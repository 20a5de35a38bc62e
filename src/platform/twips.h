// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>
#include <QRect>

// Layouts are designed in twips (1/1440 inch); at 15 twips to the device-independent
// pixel a window keeps its proportions on any screen.
namespace tarvex::platform {

inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;

    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
};

struct TwipsPoint {
    int x;
    int y;
};

inline QRect toPixels(const TwipsRect& rect) {
    return {twipsToPixels(rect.left), twipsToPixels(rect.top), twipsToPixels(rect.width), twipsToPixels(rect.height)};
}

inline QPoint toPixels(const TwipsPoint& point) {
    return {twipsToPixels(point.x), twipsToPixels(point.y)};
}

} // namespace tarvex::platform
