// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's command handlers: each button and its menu item run one routine.
#include "tarvex.h"

#include "command_host.h"
#include "message_area.h"

#include "exchange/cipher_commands.h"
#include "exchange/clipboard_commands.h"
#include "exchange/text_file_commands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

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
        .keyBox = Text1,
        .textFileNameBox = Text2,
        .message = Text3,
        .loadTextFile = Command7,
        .dialog = &CommonDialog1,
        .box = &messageBox_,
        .clipboard = &clipboard_,
    });
    CommonDialog1.askThrough(messageBox_);
    connect(Text3, &MessageArea::insertionRefused, this, &Tarvex::textRefused);

    const auto onClick = [this](QPushButton* button, void (Tarvex::*handler)()) {
        connect(button, &QPushButton::clicked, this, handler);
    };
    const auto onChoose = [this](QAction* item, void (Tarvex::*handler)()) {
        connect(item, &QAction::triggered, this, handler);
    };
    onClick(Command5, &Tarvex::Command5_Click);
    onChoose(mnuKeyCreate, &Tarvex::mnuKeyCreate_Click);
    onClick(Command4, &Tarvex::Command4_Click);
    onChoose(mnuKeyLoad, &Tarvex::mnuKeyLoad_Click);
    onClick(Command9, &Tarvex::Command9_Click);
    onChoose(mnuSecEncrypt, &Tarvex::mnuSecEncrypt_Click);
    onClick(Command8, &Tarvex::Command8_Click);
    onChoose(mnuSecDecrypt, &Tarvex::mnuSecDecrypt_Click);
    onClick(Command7, &Tarvex::Command7_Click);
    onChoose(mnuFileLoad, &Tarvex::mnuFileLoad_Click);
    onClick(Command6, &Tarvex::Command6_Click);
    onChoose(mnuFileSave, &Tarvex::mnuFileSave_Click);
    onClick(Command1, &Tarvex::Command1_Click);
    onChoose(mnuEditCopy, &Tarvex::mnuEditCopy_Click);
    onClick(Command2, &Tarvex::Command2_Click);
    onChoose(mnuEditPaste, &Tarvex::mnuEditPaste_Click);
    onClick(Command3, &Tarvex::Command3_Click);
    onChoose(mnuEditClip, &Tarvex::mnuEditClip_Click);
    onClick(Command10, &Tarvex::Command10_Click);
    onChoose(mnuEditClear, &Tarvex::mnuEditClear_Click);
    onChoose(mnuFileExit, &Tarvex::mnuFileExit_Click);
    onChoose(mnuHelpTarvex, &Tarvex::mnuHelpTarvex_Click);
    onChoose(mnuHelpAbout, &Tarvex::mnuHelpAbout_Click);
}

void Tarvex::Command5_Click() {
    createKey(*commands_, randomSource_, clock_);
    focusMessageIfKeyChosen(CommonDialog1, *Text1, *Text3);
}

void Tarvex::mnuKeyCreate_Click() {
    Command5_Click();
}

void Tarvex::Command4_Click() {
    loadKey(*commands_);
    focusMessageIfKeyChosen(CommonDialog1, *Text1, *Text3);
}

void Tarvex::mnuKeyLoad_Click() {
    Command4_Click();
}

void Tarvex::loadKeyFile(const QString& path) {
    if (path.isEmpty()) return;
    // The full path, cleaned, as the Load Key dialog gives it; then ready for typing, as after Load Key.
    commands_->setKeyPath(QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toStdString());
    Text3->setFocus(Qt::OtherFocusReason);
}

void Tarvex::Command9_Click() {
    encryptMessage(*commands_);
}

void Tarvex::mnuSecEncrypt_Click() {
    Command9_Click();
}

void Tarvex::Command8_Click() {
    decryptMessage(*commands_);
}

void Tarvex::mnuSecDecrypt_Click() {
    Command8_Click();
}

void Tarvex::Command7_Click() {
    exchange::loadTextFile(*commands_);
}

void Tarvex::mnuFileLoad_Click() {
    Command7_Click();
}

void Tarvex::Command6_Click() {
    exchange::saveTextFile(*commands_);
}

void Tarvex::mnuFileSave_Click() {
    Command6_Click();
}

void Tarvex::CopyToClipboard() {
    exchange::copyToClipboard(*commands_);
}

void Tarvex::PasteFromClipboard() {
    exchange::pasteFromClipboard(*commands_);
}

void Tarvex::Command1_Click() {
    CopyToClipboard();
}

void Tarvex::mnuEditCopy_Click() {
    CopyToClipboard();
}

void Tarvex::Command2_Click() {
    PasteFromClipboard();
}

void Tarvex::mnuEditPaste_Click() {
    PasteFromClipboard();
}

void Tarvex::Command3_Click() {
    exchange::clearClipboard(*commands_);
}

void Tarvex::mnuEditClip_Click() {
    Command3_Click();
}

void Tarvex::Command10_Click() {
    exchange::clearText(*commands_);
}

void Tarvex::mnuEditClear_Click() {
    exchange::clearText(*commands_);
}

void Tarvex::textRefused(TextSource source, std::size_t length, std::size_t room) {
    QString what = QStringLiteral("The text on the clipboard");
    if (source == TextSource::Drop) what = QStringLiteral("The dropped text");
    if (source == TextSource::Selection) what = QStringLiteral("The selected text");
    platform::showWarning(messageBox_, this, exchange::notPastedMessage(what, length, room, commands_->messageLimit()));
}

void Tarvex::mnuFileExit_Click() {
    about_.exit(*this);
}

void Tarvex::mnuHelpTarvex_Click() {
    about_.help(*this);
}

void Tarvex::mnuHelpAbout_Click() {
    about_.about();
}

} // namespace tarvex::window
