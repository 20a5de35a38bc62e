// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "exchange/cipher_command_host.h"
#include "exchange/exchange_host.h"

#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

namespace tarvex::window {

class MessageArea;

// What the key, cipher, text-file and clipboard commands may touch of the main
// window: the key box, the message area, the file-name box, the Load button and
// the window's dialog, message box and clipboard.
class WindowCommandHost final : public exchange::CipherCommandHost, public exchange::ExchangeHost {
public:
    struct Parts {
        QWidget* window;
        QLineEdit* keyBox;            // the key path
        QLineEdit* textFileNameBox;
        MessageArea* message;
        QPushButton* loadTextFile;    // the text-file Load button
        platform::FileDialog* dialog; // shared by every file command
        platform::MessageBox* box;
        platform::Clipboard* clipboard;
    };

    explicit WindowCommandHost(Parts parts);

    // Both
    secret::String messageText() const override;
    void setMessageText(std::string_view text) override;
    exchange::MessageLimit messageLimit() const override;

    // CipherCommandHost
    std::string keyPath() const override;
    void setKeyPath(const std::string& path) override;
    void enableTextFileLoad() override;
    platform::FileDialogSettings& dialogSettings() override;
    std::string showSaveDialog() override;
    std::string showOpenDialog() override;
    void reportFailure(const std::string& message) override;
    bool confirm(const std::string& question) override;

    // ExchangeHost
    QString messageAsPlainText() const override;
    secret::String textFromPlainText(const QString& text) const override;
    void setTextFileName(const QString& path) override;
    platform::FileDialog& fileDialog() override;
    platform::MessageBox& messageBox() override;
    platform::Clipboard& clipboard() override;
    QWidget* dialogParent() override;

private:
    // The key box's tooltip and accessible description gain the chosen key's
    // fingerprint, read from the file now, or why it cannot be read.
    void describeKey(const std::string& path);

    Parts parts_;
    QString keyBoxToolTip_; // as the layout gave it: "Key File Name"
};

} // namespace tarvex::window
