// SPDX-License-Identifier: GPL-3.0-or-later

#include "clipboard_commands.h"

#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "cipher/cipher_codes.h"
#include "seal/text_to_decrypt.h"
#include "text/charset.h"

namespace tarvex::exchange {
namespace {

void reportUnreachable(ExchangeHost& host) {
    warn(host, QStringLiteral("The clipboard cannot be reached right now; another program may be holding it.\n\n"
                              "Try again in a moment."));
}

} // namespace

bool isCipherText(const QString& text) {
    // The first code of a classic cipher text, as the window shows it.
    if (text.startsWith(QChar(static_cast<char16_t>(charset::toUnicode(kMarker))))) return true;
    const QByteArray utf8 = text.toUtf8();
    return seal::looksSealed(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

void offerText(const QString& text, QClipboard::Mode mode) {
    platform::offerText(text, !isCipherText(text), mode);
}

void copyToClipboard(ExchangeHost& host) {
    if (host.messageText().empty()) return;
    platform::Clipboard& clipboard = host.clipboard();
    const QString text = host.messageAsPlainText();
    // The text replaces every format on the clipboard. Emptying it first would
    // make a second offer with the same input event, which a Wayland
    // compositor such as Weston turns down.
    if (!clipboard.setText(text, !isCipherText(text))) reportUnreachable(host);
}

void pasteFromClipboard(ExchangeHost& host) {
    if (!host.messageText().empty()) return;
    std::optional<QString> text = host.clipboard().text();
    if (!text) return reportUnreachable(host);
    const std::string pasted = host.textFromPlainText(*text);
    const std::size_t length = characterCount(pasted);
    const MessageLimit limit = host.messageLimit();
    if (length > limit.length) {
        return warn(host, notPastedMessage(QStringLiteral("The text on the clipboard"), length, limit.length, limit));
    }
    host.setMessageText(pasted);
}

void clearClipboard(ExchangeHost& host) {
    platform::MessageBox::Request request;
    request.text = QStringLiteral("Do You Really Want To Clear The Clipboard?");
    request.title = QStringLiteral("Clear Clipboard");
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
    QString text = limit.ofMode
                       ? QStringLiteral("%1 is %2 characters long, but in ICQ mode the text area takes at most %3")
                       : QStringLiteral("%1 is %2 characters long, more than the %3 characters that the text area "
                                        "holds");
    text = text.arg(what).arg(length).arg(limit.length);
    if (room < limit.length) text += QStringLiteral(" and has room for %1 more").arg(room);
    text += QStringLiteral(". Nothing of it was put into the text area, so that no part of it gets lost.\n\n");
    text += limit.ofMode ? QStringLiteral("E-Mail mode has no limit and keeps the text whole: choose E-Mail "
                                          "(Ctrl+M), then try again.")
                         : QStringLiteral("A text this large is for tarvex-cli, which works on files of any size.");
    return text;
}

} // namespace tarvex::exchange
