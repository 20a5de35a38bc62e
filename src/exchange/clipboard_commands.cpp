#include "clipboard_commands.h"

#include "platform/clipboard.h"
#include "platform/message_box.h"

namespace tarvex::exchange {
namespace {

void reportUnreachable(ExchangeHost& host) {
    platform::MessageBox::Request request;
    request.text = QStringLiteral("The clipboard cannot be reached right now; another program may be holding it.\n\n"
                                  "Try again in a moment.");
    request.title = QString::fromUtf8(kProgramTitle);
    request.icon = platform::MessageBox::Icon::Warning;
    host.messageBox().ask(request, host.dialogParent());
}

} // namespace

void copyToClipboard(ExchangeHost& host) {
    if (host.messageCodes().empty()) return;
    platform::Clipboard& clipboard = host.clipboard();
    if (!clipboard.clear() || !clipboard.setText(host.messageAsPlainText())) reportUnreachable(host);
}

void pasteFromClipboard(ExchangeHost& host) {
    if (!host.messageCodes().empty()) return;
    std::optional<QString> text = host.clipboard().text();
    if (!text) return reportUnreachable(host);
    host.setMessageFromPlainText(*text);
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
    host.setMessageCodes({});
}

} // namespace tarvex::exchange
