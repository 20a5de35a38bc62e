// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's commands: one routine per action, which its menu item and its button trigger.
#include "tarvex.h"

#include "command_host.h"
#include "key_agreement_dialog.h"
#include "message_area.h"

#include "exchange/cipher_commands.h"
#include "exchange/clipboard_commands.h"
#include "exchange/text_file_commands.h"
#include "messages/window_messages.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace tarvex::window {

namespace {

// After Create Key or Load Key, so that the user can type at once. The dialog
// keeps the name it answered, empty on cancel; a key that could not be
// written never reaches the key box.
void focusMessageIfKeyChosen(platform::FileDialog& dialog, const QLineEdit& keyBox, MessageArea& message) {
    const QString chosen = QString::fromStdString(dialog.settings().fileName);
    if (!chosen.isEmpty() && keyBox.text() == chosen) {
        message.setFocus(Qt::OtherFocusReason);
    }
}

} // namespace

void Tarvex::connectCommands() {
    commands_ = std::make_unique<WindowCommandHost>(WindowCommandHost::Parts{
        .window = this,
        .keyBox = keyPathBox_,
        .textFileNameBox = textFileNameBox_,
        .message = messageArea_,
        .loadTextFile = loadTextFileButton_,
        .dialog = &fileDialog_,
        .box = &messageBox_,
        .clipboard = &clipboard_,
    });
    fileDialog_.askThrough(messageBox_);
    connect(messageArea_, &MessageArea::insertionRefused, this, &Tarvex::onTextRefused);

    const std::pair<QAction*, void (Tarvex::*)()> routines[] = {
        {createKeyAction_, &Tarvex::onCreateKey},
        {agreeOnKeyAction_, &Tarvex::onAgreeOnKey},
        {loadKeyAction_, &Tarvex::onLoadKey},
        {encryptAction_, &Tarvex::onEncrypt},
        {decryptAction_, &Tarvex::onDecrypt},
        {sealAction_, &Tarvex::onSeal},
        {loadTextFileAction_, &Tarvex::onLoadTextFile},
        {saveTextFileAction_, &Tarvex::onSaveTextFile},
        {copyAction_, &Tarvex::onCopy},
        {pasteAction_, &Tarvex::onPaste},
        {clearClipboardAction_, &Tarvex::onClearClipboard},
        {clearTextAction_, &Tarvex::onClearText},
        {exitAction_, &Tarvex::onExit},
        {helpAction_, &Tarvex::onHelp},
        {aboutAction_, &Tarvex::onAbout},
    };
    for (const auto& [action, routine] : routines) {
        connect(action, &QAction::triggered, this, routine);
    }
}

void Tarvex::onCreateKey() {
    exchange::createKey(*commands_, randomSource_, clock_);
    focusMessageIfKeyChosen(fileDialog_, *keyPathBox_, *messageArea_);
}

void Tarvex::onAgreeOnKey() {
    if (agreementDialog_) {
        agreementDialog_->raise();
        agreementDialog_->activateWindow();
        return;
    }
    auto* dialog = new KeyAgreementDialog({.keys = commands_.get(), .clipboard = &clipboard_, .box = &messageBox_}, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Ready for typing, as after Create Key.
    connect(dialog, &KeyAgreementDialog::keySaved, this, [this] { messageArea_->setFocus(Qt::OtherFocusReason); });
    agreementDialog_ = dialog;
    // Window-modal and without blocking: the window waits while the agreement is open.
    dialog->open();
}

void Tarvex::onLoadKey() {
    exchange::loadKey(*commands_);
    focusMessageIfKeyChosen(fileDialog_, *keyPathBox_, *messageArea_);
}

void Tarvex::loadKeyFile(const QString& path) {
    if (path.isEmpty()) return;
    // The full path, cleaned, as the Load Key dialog gives it; then ready for typing, as after Load Key.
    commands_->setKeyPath(QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toStdString());
    messageArea_->setFocus(Qt::OtherFocusReason);
}

void Tarvex::onEncrypt() {
    exchange::encryptMessage(*commands_);
}

void Tarvex::onDecrypt() {
    exchange::decryptMessage(*commands_);
}

void Tarvex::onSeal() {
    exchange::sealMessage(*commands_);
}

void Tarvex::onLoadTextFile() {
    exchange::loadTextFile(*commands_);
}

void Tarvex::onSaveTextFile() {
    exchange::saveTextFile(*commands_);
}

void Tarvex::onCopy() {
    exchange::copyToClipboard(*commands_);
}

void Tarvex::onPaste() {
    exchange::pasteFromClipboard(*commands_);
}

void Tarvex::onClearClipboard() {
    exchange::clearClipboard(*commands_);
}

void Tarvex::onClearText() {
    exchange::clearText(*commands_);
}

void Tarvex::onTextRefused(TextSource source, std::size_t length, std::size_t room) {
    messages::PastedFrom from = messages::PastedFrom::Clipboard;
    if (source == TextSource::Drop) from = messages::PastedFrom::Drop;
    if (source == TextSource::Selection) from = messages::PastedFrom::Selection;
    const QString what = QString::fromStdString(messages::pastedTextName(from));
    platform::showWarning(messageBox_, this, exchange::notPastedMessage(what, length, room, commands_->messageLimit()));
}

void Tarvex::onExit() {
    about_.exit(*this);
}

void Tarvex::onHelp() {
    about_.help(*this);
}

void Tarvex::onAbout() {
    about_.about();
}

} // namespace tarvex::window
