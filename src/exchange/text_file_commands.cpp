// SPDX-License-Identifier: GPL-3.0-or-later

#include "text_file_commands.h"

#include "platform/file_dialog.h"
#include "platform/message_box.h"

#include "messages/messages.h"
#include "files/atomic_file_writer.h"
#include "files/file_io.h"
#include "text/text_file_encoding.h"

#include <QFile>

#include <cerrno>

namespace tarvex::exchange {
namespace {

constexpr std::size_t kMebibyte = 1024 * 1024;

QString tooLarge() {
    return QStringLiteral("it is larger than the %1 MiB that the text area holds").arg(kMaxMessageLength / kMebibyte);
}

// The operating system's own words, which say what to do about it ("No space left on device").
QString reason(const Error& error) {
    if (error.kind == Error::Kind::FileTooLarge) return tooLarge();
    if (error.osError == EISDIR) return QStringLiteral("it is a folder");
    if (error.osError == 0) return QString::fromStdString(describe(error));
    return QString::fromLocal8Bit(systemReason(error.osError));
}

} // namespace

void loadTextFile(ExchangeHost& host) {
    platform::FileDialog& dialog = host.fileDialog();
    dialog.settings().prepare("Text Tarvex - Load File Dialog", "txt", kTextFileFilter);
    const QString path = dialog.show(platform::FileDialog::Kind::Open, host.dialogParent());
    if (path.isEmpty()) return;

    const auto cannotLoad = [&](const QString& why) {
        warn(host, QStringLiteral("The file \"%1\" cannot be loaded: %2.\n\nThe text area was not changed.")
                           .arg(path, why));
    };
    Result<std::string> bytes = readWholeFile(QFile::encodeName(path).toStdString(), kMaxTextFileSize);
    if (!bytes) return cannotLoad(reason(bytes.error()));
    const Result<std::string> utf8 = text::textOfTextFile(*bytes);
    if (!utf8) return cannotLoad(reason(utf8.error()));
    std::string text = text::joinLines(*utf8);
    const std::size_t length = characterCount(text);
    if (length > kMaxMessageLength) return cannotLoad(tooLarge());

    const MessageLimit limit = host.messageLimit();
    if (length > limit.length) {
        // Only the ICQ limit is below kMaxMessageLength.
        warn(host, QStringLiteral("The file \"%1\" holds a text of %2 characters, %3 more than the %4 that the "
                                      "text area takes in ICQ mode. Nothing was loaded, so that no part of it gets "
                                      "lost; the text area was not changed.\n\nE-Mail and File mode have no limit: "
                                      "choose one of them, then load the file again.")
                           .arg(path)
                           .arg(length)
                           .arg(length - limit.length)
                           .arg(limit.length));
        return;
    }
    host.setTextFileName(path);
    host.setMessageText(text);
}

void saveTextFile(ExchangeHost& host) {
    const std::string text = host.messageText();
    if (text.empty()) return;

    platform::FileDialog& dialog = host.fileDialog();
    dialog.settings().prepare("Text Tarvex - Save File Dialog", "txt", kTextFileFilter);
    dialog.settings().initDir.clear();
    dialog.settings().replaceQuestion = "Do you want to replace it with this text?";
    const QString path = dialog.show(platform::FileDialog::Kind::Save, host.dialogParent());
    if (path.isEmpty()) return;

    // Through a temporary file renamed into place, so a failed save leaves the
    // old file whole; a device or a pipe is written to directly.
    const AtomicFileWriter::Options options{
        .replace = AtomicFileWriter::Replace::Allowed, .mode = 0666, .writeIntoDevices = true};
    const Status written = writeFileAtomically(QFile::encodeName(path).toStdString(),
                                               text::textFileOfText(text + "\r\n"), options);
    if (!written) {
        warn(host, QStringLiteral("The text could not be saved to \"%1\": %2.\n\nNo file was changed.")
                           .arg(path, reason(written.error())));
        return;
    }
    host.setTextFileName(path);
}

} // namespace tarvex::exchange
