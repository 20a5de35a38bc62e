// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QClipboard>
#include <QObject>
#include <QString>

#include <array>

namespace tarvex::platform {

// The secret this program last offered on the clipboard and in the primary
// selection, kept as a digest with Qt's clipboard object until a paste there
// is seen to give something else. A Wayland compositor may take an offer over
// with a copy of its text (Weston does each time the window loses the
// keyboard); the copy carries no hint, and this record is what still tells it
// from another program's text when the program ends.
class OfferedSecrets final : public QObject {
    Q_OBJECT

public:
    // The record kept with `clipboard`, made on first use.
    static OfferedSecrets& of(QClipboard& clipboard);

    // `text` now stands in `mode`; remembered when it is a secret.
    void offered(QClipboard::Mode mode, const QString& text, bool secret);
    // Nothing of this program's stands in `mode` any longer.
    void forget(QClipboard::Mode mode);
    // Whether `mode` may still give the last secret offered there: no other
    // text has been seen there since.
    bool mayHold(QClipboard::Mode mode);

private:
    explicit OfferedSecrets(QClipboard& clipboard);
    // Forgets the secret once `mode` is seen to offer anything else.
    void check(QClipboard::Mode mode);

    QClipboard& clipboard_;
    // Clipboard, then Selection; empty where no secret is remembered.
    std::array<QByteArray, 2> digests_;
};

} // namespace tarvex::platform
