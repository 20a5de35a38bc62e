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

bool holdsSecret(const QClipboard& clipboard, QClipboard::Mode mode) {
    const QMimeData* data = clipboard.mimeData(mode);
    return data && data->data(QLatin1String(kPasswordManagerHintFormat)) == QByteArrayView(kSecretHint);
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
    return true;
}

bool clearClipboardAndSelection() {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return false;
    clipboard->clear(QClipboard::Clipboard);
    if (clipboard->supportsSelection()) clipboard->clear(QClipboard::Selection);
    return true;
}

void dropOwnSecrets() {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return;
    // Only while this program owns it: what another program put there since is not ours to drop.
    if (clipboard->ownsClipboard() && holdsSecret(*clipboard, QClipboard::Clipboard)) {
        clipboard->clear(QClipboard::Clipboard);
    }
    if (clipboard->supportsSelection() && clipboard->ownsSelection() &&
        holdsSecret(*clipboard, QClipboard::Selection)) {
        clipboard->clear(QClipboard::Selection);
    }
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
