// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

namespace tarvex::window {

// Keeps a text widget from taking key combinations that belong to the window's
// menus: Qt's text widgets claim some of them (Ctrl+A, Ctrl+D, Ctrl+E on X11)
// for editing. A claimed key goes to its menu item; while that item is
// disabled the key does nothing.
class ShortcutGuard : public QObject {
    Q_OBJECT
public:
    ShortcutGuard(QList<QKeySequence> windowKeys, QObject* parent);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QKeySequence> windowKeys_;
};

} // namespace tarvex::window
