// SPDX-License-Identifier: GPL-3.0-or-later

#include "text_file_commands.h"

#include "platform/file_dialog.h"
#include "platform/message_box.h"

#include "messages/messages.h"
#include "dialog_words.h"
#include "messages/window_messages.h"
#include "files/atomic_file_writer.h"
#include "files/file_io.h"
#include "text/charset.h"
#include "text/text_file_encoding.h"
#include "utf8_check.h"

#include <QFile>

#include <algorithm>
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
    if (error.osError == 0) return describe(error);
    return QString::fromLocal8Bit(systemReason(error.osError)).toStdString();
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

Result<secret::String> textOfTextFile(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
        if (const std::size_t at = malformedUtf8At(bytes)) return Error{.kind = Error::Kind::InvalidUtf8, .position = at + kByteOrderMark.size()};
        return secret::String(bytes);
    }
    if (isAscii(bytes) || malformedUtf8At(bytes) == 0) return secret::String(bytes);
    return secret::adopt(charset::toUtf8(bytes));
}

secret::String textFileOfText(std::string_view text) {
    Result<std::string> codes = charset::fromUtf8(text);
    if (codes) return secret::adopt(text::textFileFromCodes(secret::adopt(std::move(*codes))));
    // A mark of its own, or the text's first character would be taken for one.
    secret::String file;
    if (text.starts_with(kByteOrderMark)) file.append(kByteOrderMark);
    file.append(text);
    return file;
}

void loadTextFile(ExchangeHost& host) {
    platform::FileDialog& dialog = host.fileDialog();
    prepareDialog(dialog.settings(), messages::loadTextFileDialog(), "txt");
    const QString path = dialog.show(platform::FileDialog::Kind::Open, host.dialogParent());
    if (path.isEmpty()) return;

    const auto cannotLoad = [&](const std::string& why) {
        warn(host, QString::fromStdString(messages::textFileNotLoaded(path.toStdString(), why)));
    };
    const Result<secret::String> bytes = readWholeFile(QFile::encodeName(path).toStdString(), kMaxTextFileSize);
    if (!bytes) return cannotLoad(reason(bytes.error()));
    const Result<secret::String> utf8 = textOfTextFile(*bytes);
    if (!utf8) return cannotLoad(reason(utf8.error()));
    const secret::String text = secret::adopt(text::joinLines(*utf8));
    const std::size_t length = characterCount(text);
    if (length > kMaxMessageLength) return cannotLoad(tooLarge());

    const MessageLimit limit = host.messageLimit();
    if (length > limit.length) {
        // Only the ICQ limit is below kMaxMessageLength.
        warn(host, QString::fromStdString(messages::textFileTooLongForIcq(path.toStdString(), length, limit.length)));
        return;
    }
    host.setTextFileName(path);
    setMessage(host, text);
}

void saveTextFile(ExchangeHost& host) {
    secret::String text = messageOf(host);
    if (text.empty()) return;

    platform::FileDialog& dialog = host.fileDialog();
    prepareDialog(dialog.settings(), messages::saveTextFileDialog(), "txt");
    dialog.settings().initDir.clear();
    const QString path = dialog.show(platform::FileDialog::Kind::Save, host.dialogParent());
    if (path.isEmpty()) return;

    // Through a temporary file renamed into place, so a failed save leaves the
    // old file whole; a device or a pipe is written to directly.
    const AtomicFileWriter::Options options{
        .replace = AtomicFileWriter::Replace::Allowed, .mode = 0666, .writeIntoDevices = true};
    text.append("\r\n");
    const Status written = writeFileAtomically(QFile::encodeName(path).toStdString(), textFileOfText(text), options);
    if (!written) {
        warn(host, QString::fromStdString(messages::textNotSaved(path.toStdString(), reason(written.error()))));
        return;
    }
    host.setTextFileName(path);
}

} // namespace tarvex::exchange
