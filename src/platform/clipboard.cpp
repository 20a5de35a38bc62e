// SPDX-License-Identifier: GPL-3.0-or-later

#include "clipboard.h"

#include "offered_secrets.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client-core.h>

namespace tarvex::platform {
namespace {

QClipboard* systemClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

bool holdsSecret(const QClipboard& clipboard, QClipboard::Mode mode) {
    const QMimeData* data = clipboard.mimeData(mode);
    return data && data->data(QLatin1String(kPasswordManagerHintFormat)) == QByteArrayView(kSecretHint);
}

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// A Wayland compositor may keep its own copy of the text on the clipboard and
// offer it again once the offer is gone (Weston does when it is withdrawn,
// GNOME's when its program ends); taking the clipboard with an offer of
// nothing replaces that copy. On X11 the selection is let go, as before.
void empty(QClipboard& clipboard, QClipboard::Mode mode) {
    if (onWayland()) {
        clipboard.setMimeData(new QMimeData, mode);
        OfferedSecrets::of(clipboard).forget(mode);
    } else {
        clipboard.clear(mode);
    }
}

// Returns once the compositor has handled every request sent so far: a
// request still under way when the program closes its connection may be
// dropped with it.
void waitForCompositor() {
    if (!onWayland()) return;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    auto* display = native ? static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display")) : nullptr;
    if (display) wl_display_roundtrip(display);
}

} // namespace

QMimeData* newTextData(const QString& text, bool secret) {
    auto* data = new QMimeData;
    data->setText(text);
    if (secret) data->setData(QLatin1String(kPasswordManagerHintFormat), QByteArray(kSecretHint));
    return data;
}

bool offerText(const QString& text, bool secret, QClipboard::Mode mode) {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return false;
    // setMimeData replaces every format that was there.
    clipboard->setMimeData(newTextData(text, secret), mode);
    if (onWayland()) OfferedSecrets::of(*clipboard).offered(mode, text, secret);
    return true;
}

bool clearClipboardAndSelection() {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return false;
    empty(*clipboard, QClipboard::Clipboard);
    if (clipboard->supportsSelection()) empty(*clipboard, QClipboard::Selection);
    return true;
}

void dropOwnSecrets() {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return;
    bool emptied = false;
    for (const QClipboard::Mode mode : {QClipboard::Clipboard, QClipboard::Selection}) {
        if (mode == QClipboard::Selection && !clipboard->supportsSelection()) continue;
        const bool owned = mode == QClipboard::Selection ? clipboard->ownsSelection() : clipboard->ownsClipboard();
        // What another program put there since is not ours to drop. On Wayland
        // a copy of the secret that the compositor took over is.
        const bool ours = owned ? holdsSecret(*clipboard, mode)
                                : onWayland() && OfferedSecrets::of(*clipboard).mayHold(mode);
        if (!ours) continue;
        empty(*clipboard, mode);
        emptied = true;
    }
    if (emptied) waitForCompositor();
}

bool SystemClipboard::clear() {
    return clearClipboardAndSelection();
}

bool SystemClipboard::setText(const QString& text, bool secret) {
    return offerText(text, secret);
}

std::optional<QString> SystemClipboard::text() {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return std::nullopt;
    const QMimeData* data = clipboard->mimeData();
    if (!data) return std::nullopt;
    return data->hasText() ? data->text() : QString();
}

} // namespace tarvex::platform
