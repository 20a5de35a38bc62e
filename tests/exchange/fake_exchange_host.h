// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "exchange/exchange_host.h"
#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"

#include "text/charset.h"

#include "../support/recording_dialogs.h"

#include <QString>

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace tarvex::exchange::test {

// A box that a test forgot to answer fails the test instead of waiting for a click.
class AnsweredMessageBox final : public tarvex::test::RecordingMessageBox {
protected:
    Answer runBox(const Request& request, QWidget*) override {
        ADD_FAILURE() << "a message box opened without an answer: " << request.text.toStdString();
        return request.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
};

// Stands in for the main window: a message with a limit, a file-name box, and
// the real dialog, message box and clipboard services (answered through their
// seams), the dialog asking its questions through the message box as the window's does.
class FakeExchangeHost final : public ExchangeHost {
public:
    std::string message;
    std::size_t limit = 0; // 0: kMaxMessageLength
    QString textFileName = QStringLiteral("(unchanged)");
    int messageSets = 0;
    tarvex::test::RecordingFileDialog dialog;
    AnsweredMessageBox box;
    platform::SystemClipboard systemClipboard;

    secret::String messageText() const override { return secret::String(message); }
    void setMessageText(std::string_view text) override {
        ++messageSets;
        message = text; // the commands refuse a text past the limit before
    }
    exchange::MessageLimit messageLimit() const override {
        return limit > 0 ? exchange::MessageLimit{.length = limit, .ofMode = true} : exchange::MessageLimit{};
    }
    QString messageAsPlainText() const override { return QString::fromStdString(message); }
    secret::String textFromPlainText(const QString& text) const override { return secret::String(text.toStdString()); }
    void setTextFileName(const QString& path) override { textFileName = path; }
    platform::FileDialog& fileDialog() override {
        dialog.askThrough(box); // here, so that `host = {}` leaves no pointer to another host's box
        return dialog;
    }
    platform::MessageBox& messageBox() override { return box; }
    platform::Clipboard& clipboard() override { return systemClipboard; }
    QWidget* dialogParent() override { return nullptr; }
};

} // namespace tarvex::exchange::test
