// SPDX-License-Identifier: GPL-3.0-or-later

#include "shortcut_guard.h"

#include <QKeyEvent>

namespace tarvex::window {

ShortcutGuard::ShortcutGuard(QList<QKeySequence> windowKeys, QObject* parent)
    : QObject(parent), windowKeys_(std::move(windowKeys)) {}

bool ShortcutGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!windowKeys_.contains(QKeySequence(key->keyCombination()))) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Not accepting the override lets the window's shortcut run.
        event->ignore();
    } else {
        // Only reached when the menu item is disabled.
        event->accept();
    }
    return true;
}

} // namespace tarvex::window
