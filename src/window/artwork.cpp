// SPDX-License-Identifier: GPL-3.0-or-later

#include "artwork.h"

#include <QPainter>
#include <QSvgRenderer>

namespace tarvex::window::artwork {

namespace {

const QString kLogoResource = QStringLiteral(":/tarvex/tarvex-logo.svg");

QPixmap render(QSize pixels) {
    QPixmap pixmap(pixels);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(kLogoResource);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return pixmap;
}

} // namespace

QIcon windowIcon() {
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64}) {
        icon.addPixmap(render(QSize(side, side)));
    }
    return icon;
}

QPixmap logo(QSize size, qreal devicePixelRatio) {
    QPixmap pixmap = render((QSizeF(size) * devicePixelRatio).toSize());
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace tarvex::window::artwork
