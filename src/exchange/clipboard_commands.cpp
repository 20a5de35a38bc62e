// SPDX-License-Identifier: GPL-3.0-or-later

#include "clipboard_commands.h"

#include "messages/window_messages.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "cipher/cipher_codes.h"
#include "seal/text_to_decrypt.h"
#include "text/charset.h"
#include "utf8_of.h"

namespace tarvex::exchange {
namespace {

void reportUnreachable(ExchangeHost& host) {
    warn(host, QString::fromStdString(messages::clipboardUnreachable()));
}

} // namespace

bool isCipherText(const QString& text) {
    // The first code of a classic cipher text, as the window shows it.
    if (text.startsWith(QChar(static_cast<char16_t>(text::charset::toUnicode(cipher::kMarker))))) return true;
    return seal::looksSealed(utf8Of(text));
}

void offerText(const QString& text, QClipboard::Mode mode) {
    platform::offerText(text, !isCipherText(text), mode);
}

void copyToClipboard(ExchangeHost& host) {
    const QString text = host.messageAsPlainText();
    if (text.isEmpty()) return;
    platform::Clipboard& clipboard = host.clipboard();
    // The text replaces every format on the clipboard. Emptying it first would
    // make a second offer with the same input event, which a Wayland
    // compositor such as Weston turns down.
    if (!clipboard.setText(text, !isCipherText(text))) reportUnreachable(host);
}

void pasteFromClipboard(ExchangeHost& host) {
    if (!host.messageAsPlainText().isEmpty()) return;
    std::optional<QString> text = host.clipboard().text();
    if (!text) return reportUnreachable(host);
    const secret::String pasted = host.textFromPlainText(*text);
    const std::size_t length = characterCount(pasted);
    const MessageLimit limit = host.messageLimit();
    if (length > limit.length) {
        const QString what = QString::fromStdString(messages::pastedTextName(messages::PastedFrom::Clipboard));
        return warn(host, notPastedMessage(what, length, limit.length, limit));
    }
    host.setMessageText(pasted);
}

void clearClipboard(ExchangeHost& host) {
    const messages::Question question = messages::clearClipboard();
    platform::MessageBox::Request request;
    request.text = QString::fromStdString(question.text);
    request.title = QString::fromStdString(question.title);
    request.buttons = platform::MessageBox::Buttons::YesNo;
    request.icon = platform::MessageBox::Icon::None;
    request.defaultAnswer = platform::MessageBox::Answer::Yes;
    if (host.messageBox().ask(request, host.dialogParent()) != platform::MessageBox::Answer::Yes) return;
    if (!host.clipboard().clear()) reportUnreachable(host);
}

void clearText(ExchangeHost& host) {
    host.setMessageText({});
}

QString notPastedMessage(const QString& what, std::size_t length, std::size_t room, MessageLimit limit) {
    return QString::fromStdString(
        messages::textNotPasted(what.toStdString(), length, room, limit.length, limit.ofMode));
}

} // namespace tarvex::exchange
