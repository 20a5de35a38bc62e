// SPDX-License-Identifier: GPL-3.0-or-later

#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tarvex::platform {
namespace {

QClipboard* systemClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

} // namespace

bool SystemClipboard::clear() {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return false;
    clipboard->clear();
    return true;
}

bool SystemClipboard::setText(const QString& text) {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return false;
    // setText replaces every format that was there.
    clipboard->setText(text);
    return true;
}

std::optional<QString> SystemClipboard::text() {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return std::nullopt;
    const QMimeData* data = clipboard->mimeData();
    if (!data) return std::nullopt;
    return data->hasText() ? data->text() : QString();
}

} // namespace tarvex::platform
