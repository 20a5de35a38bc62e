// SPDX-License-Identifier: GPL-3.0-or-later

#include "text_file_commands.h"

#include "platform/file_dialog.h"
#include "platform/message_box.h"

#include "messages/messages.h"
#include "dialog_words.h"
#include "messages/window_messages.h"
#include "files/atomic_file_writer.h"
#include "files/file_io.h"
#include "text/text_file_encoding.h"

#include <QFile>

#include <cerrno>

namespace tarvex::exchange {
namespace {

constexpr std::size_t kMebibyte = 1024 * 1024;

std::string tooLarge() {
    return messages::textFileTooLarge(kMaxMessageLength / kMebibyte);
}

// The operating system's own words, which say what to do about it ("No space left on device").
std::string reason(const Error& error) {
    if (error.kind == Error::Kind::FileTooLarge) return tooLarge();
    if (error.osError == EISDIR) return messages::isAFolder();
    if (error.osError == 0) return messages::describe(error);
    return QString::fromLocal8Bit(messages::systemReason(error.osError)).toStdString();
}

} // namespace

void loadTextFile(ExchangeHost& host) {
    platform::FileDialog& dialog = host.fileDialog();
    prepareDialog(dialog.settings(), messages::loadTextFileDialog(), "txt");
    const QString path = dialog.show(platform::FileDialog::Kind::Open, host.dialogParent());
    if (path.isEmpty()) return;

    const auto cannotLoad = [&](const std::string& why) {
        warn(host, QString::fromStdString(messages::textFileNotLoaded(path.toStdString(), why)));
    };
    const Result<secret::String> bytes = files::readWholeFile(QFile::encodeName(path).toStdString(), kMaxTextFileSize);
    if (!bytes) return cannotLoad(reason(bytes.error()));
    const Result<secret::String> lines = text::textOfTextFile(*bytes);
    if (!lines) return cannotLoad(reason(lines.error()));
    const secret::String text = text::joinLines(*lines);
    const std::size_t length = characterCount(text);
    if (length > kMaxMessageLength) return cannotLoad(tooLarge());

    const MessageLimit limit = host.messageLimit();
    if (length > limit.length) {
        // Only the ICQ limit is below kMaxMessageLength.
        warn(host, QString::fromStdString(messages::textFileTooLongForIcq(path.toStdString(), length, limit.length)));
        return;
    }
    host.setTextFileName(path);
    host.setMessageText(text);
}

void saveTextFile(ExchangeHost& host) {
    secret::String text = host.messageText();
    if (text.empty()) return;

    platform::FileDialog& dialog = host.fileDialog();
    prepareDialog(dialog.settings(), messages::saveTextFileDialog(), "txt");
    dialog.settings().initDir.clear();
    const QString path = dialog.show(platform::FileDialog::Kind::Save, host.dialogParent());
    if (path.isEmpty()) return;

    // Through a temporary file renamed into place, so a failed save leaves the
    // old file whole; a device or a pipe is written to directly.
    const files::AtomicFileWriter::Options options{
        .replace = files::AtomicFileWriter::Replace::Allowed, .mode = 0666, .writeIntoDevices = true};
    text.append("\r\n");
    const secret::String file = text::textFileOfText(text);
    const Status written = files::writeFileAtomically(QFile::encodeName(path).toStdString(), file, options);
    if (!written) {
        warn(host, QString::fromStdString(messages::textNotSaved(path.toStdString(), reason(written.error()))));
        return;
    }
    host.setTextFileName(path);
}

} // namespace tarvex::exchange
