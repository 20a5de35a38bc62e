// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

// Our own artwork, drawn from the SVG that ships inside the program.
namespace tarvex::window::artwork {

QIcon windowIcon();

// The logo drawn to fill `size` (device-independent pixels) at the given pixel ratio.
QPixmap logo(QSize size, qreal devicePixelRatio);

} // namespace tarvex::window::artwork
