// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "exchange/cipher_command_host.h"
#include "platform/message_box.h"

#include <QString>

#include <string_view>

class QWidget;

namespace tarvex::platform {
class Clipboard;
class FileDialog;
} // namespace tarvex::platform

namespace tarvex::exchange {

// What the text-file, clipboard and clearing commands need of the main window.
class ExchangeHost {
public:
    virtual ~ExchangeHost() = default;

    // The message area as UTF-8 with CR LF line breaks.
    virtual secret::String messageText() const = 0;
    // Replaces the message as a command does, the change rules run. A text past
    // messageLimit() would be cut: the commands refuse it before.
    virtual void setMessageText(std::string_view text) = 0;
    virtual MessageLimit messageLimit() const = 0;
    // The message as plain text for other programs, CR LF kept.
    virtual QString messageAsPlainText() const = 0;
    // Text from another program as typing it would give it: UTF-8, CR LF line breaks.
    virtual secret::String textFromPlainText(const QString& text) const = 0;

    // The text-file name box.
    virtual void setTextFileName(const QString& path) = 0;

    virtual platform::FileDialog& fileDialog() = 0;
    virtual platform::MessageBox& messageBox() = 0;
    virtual platform::Clipboard& clipboard() = 0;
    virtual QWidget* dialogParent() = 0;
};

// How a failed command tells the user: a warning box over the window.
inline void warn(ExchangeHost& host, const QString& text) {
    platform::showWarning(host.messageBox(), host.dialogParent(), text);
}

} // namespace tarvex::exchange
