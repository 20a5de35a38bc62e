// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QClipboard>
#include <QMimeData>
#include <QString>

#include <optional>

namespace tarvex::platform {

// The format clipboard managers and history tools read to keep a text out of
// their history, and what it holds for a secret.
inline constexpr char kPasswordManagerHintFormat[] = "x-kde-passwordManagerHint";
inline constexpr char kSecretHint[] = "secret";

// Plain text for the clipboard, a selection or a drag; a secret one carries the
// hint that keeps it out of clipboard histories.
QMimeData* newTextData(const QString& text, bool secret);
// Puts that on the system clipboard or the selection; false when it cannot be reached.
bool offerText(const QString& text, bool secret, QClipboard::Mode mode = QClipboard::Clipboard);
// Empties the clipboard and, where there is one, the primary selection,
// whichever program filled them. On Wayland they are taken with an offer of
// nothing, which also replaces a copy the compositor keeps of their text.
bool clearClipboardAndSelection();
// Before the program ends: empties the clipboard and the selection where they
// still hold a secret this program put there, so that neither the next paste
// nor a clipboard manager or compositor taking over the data on exit gets it.
// On Wayland it returns once the compositor has taken the empty offers.
void dropOwnSecrets();

// The system clipboard, plain text only.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Each answers false (or nullopt) when the clipboard cannot be reached.
    virtual bool clear() = 0;
    // A secret text carries the hint that keeps it out of clipboard histories.
    virtual bool setText(const QString& text, bool secret) = 0;
    // Empty when the clipboard holds no text (a picture, say).
    virtual std::optional<QString> text() = 0;
};

// The real one, through QClipboard.
class SystemClipboard final : public Clipboard {
public:
    // The primary selection too.
    bool clear() override;
    bool setText(const QString& text, bool secret) override;
    std::optional<QString> text() override;
};

} // namespace tarvex::platform
