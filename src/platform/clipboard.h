// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

namespace tarvex::platform {

// The system clipboard, plain text only.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Each answers false (or nullopt) when the clipboard cannot be reached.
    virtual bool clear() = 0;
    virtual bool setText(const QString& text) = 0;
    // Empty when the clipboard holds no text (a picture, say).
    virtual std::optional<QString> text() = 0;
};

// The real one, through QClipboard.
class SystemClipboard final : public Clipboard {
public:
    bool clear() override;
    bool setText(const QString& text) override;
    std::optional<QString> text() override;
};

} // namespace tarvex::platform
