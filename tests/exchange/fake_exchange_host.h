#pragma once

#include "exchange/exchange_host.h"
#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"

#include "cipher/charset.h"

#include <QString>

#include <cstddef>
#include <string>

namespace tarvex::exchange {

// Stands in for the main window: a message with a limit, a file-name box, and
// the real dialog, message box and clipboard services (answered through their seams).
class FakeExchangeHost final : public ExchangeHost {
public:
    std::string message;
    std::size_t limit = 0;
    QString textFileName = QStringLiteral("(unchanged)");
    int messageSets = 0;
    platform::FileDialog dialog;
    platform::MessageBox box;
    platform::SystemClipboard systemClipboard;

    std::string messageCodes() const override { return message; }
    void setMessageCodes(const std::string& codes) override {
        ++messageSets;
        message = limit > 0 && codes.size() > limit ? codes.substr(0, limit) : codes;
    }
    QString messageAsPlainText() const override { return QString::fromStdString(charset::toUtf8(message)); }
    void setMessageFromPlainText(const QString& text) override {
        Result<std::string> codes = charset::fromUtf8(text.toStdString());
        setMessageCodes(codes ? *codes : std::string("?"));
    }
    void setTextFileName(const QString& path) override { textFileName = path; }
    platform::FileDialog& fileDialog() override { return dialog; }
    platform::MessageBox& messageBox() override { return box; }
    platform::Clipboard& clipboard() override { return systemClipboard; }
    QWidget* dialogParent() override { return nullptr; }
};

} // namespace tarvex::exchange
