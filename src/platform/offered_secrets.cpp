// SPDX-License-Identifier: GPL-3.0-or-later

#include "offered_secrets.h"

#include <QByteArrayView>
#include <QCryptographicHash>
#include <QMimeData>

#include <cstddef>

namespace tarvex::platform {
namespace {

std::size_t slot(QClipboard::Mode mode) {
    return mode == QClipboard::Selection ? 1 : 0;
}

// Over the text's own characters, so that no further copy of it is made.
QByteArray digest(const QString& text) {
    const QByteArrayView characters(reinterpret_cast<const char*>(text.utf16()),
                                    text.size() * static_cast<qsizetype>(sizeof(char16_t)));
    return QCryptographicHash::hash(characters, QCryptographicHash::Sha256);
}

} // namespace

OfferedSecrets& OfferedSecrets::of(QClipboard& clipboard) {
    auto* record = clipboard.findChild<OfferedSecrets*>(QString(), Qt::FindDirectChildrenOnly);
    // Owned by the clipboard object from here on.
    return record ? *record : *new OfferedSecrets(clipboard);
}

OfferedSecrets::OfferedSecrets(QClipboard& clipboard) : QObject(&clipboard), clipboard_(clipboard) {
    connect(&clipboard, &QClipboard::changed, this, &OfferedSecrets::check);
}

void OfferedSecrets::offered(QClipboard::Mode mode, const QString& text, bool secret) {
    if (mode != QClipboard::Clipboard && mode != QClipboard::Selection) return;
    digests_[slot(mode)] = secret ? digest(text) : QByteArray();
}

void OfferedSecrets::forget(QClipboard::Mode mode) {
    if (mode == QClipboard::Clipboard || mode == QClipboard::Selection) digests_[slot(mode)].clear();
}

bool OfferedSecrets::mayHold(QClipboard::Mode mode) {
    if (mode != QClipboard::Clipboard && mode != QClipboard::Selection) return false;
    check(mode);
    return !digests_[slot(mode)].isEmpty();
}

void OfferedSecrets::check(QClipboard::Mode mode) {
    if (mode != QClipboard::Clipboard && mode != QClipboard::Selection) return;
    QByteArray& remembered = digests_[slot(mode)];
    // While this program's own offer stands, it tells for itself.
    const bool owned = mode == QClipboard::Selection ? clipboard_.ownsSelection() : clipboard_.ownsClipboard();
    if (remembered.isEmpty() || owned) return;
    // No offer known (the window has not had the keyboard since): nothing seen yet.
    const QMimeData* data = clipboard_.mimeData(mode);
    if (!data || data->formats().isEmpty()) return;
    if (!data->hasText() || digest(data->text()) != remembered) remembered.clear();
}

} // namespace tarvex::platform
