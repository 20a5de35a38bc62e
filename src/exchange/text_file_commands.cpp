#include "text_file_commands.h"

#include "platform/file_dialog.h"
#include "platform/message_box.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace tarvex::exchange {
namespace {

void prepareDialog(FileDialogSettings& dialog, const char* title) {
    dialog.fileName.clear();
    dialog.cancelError = false;
    dialog.title = title;
    dialog.defaultExt = "txt";
    dialog.filter = kTextFileFilter;
    dialog.filterIndex = 1;
}

void complain(ExchangeHost& host, const QString& text) {
    platform::MessageBox::Request request;
    request.text = text;
    request.title = QString::fromUtf8(kProgramTitle);
    request.icon = platform::MessageBox::Icon::Warning;
    host.messageBox().ask(request, host.dialogParent());
}

// The whole file, or the reason it cannot be had.
std::optional<std::string> readTextFile(const QString& path, QString& reason) {
    QFileInfo info(path);
    if (info.isDir()) {
        reason = QStringLiteral("it is a folder");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return std::nullopt;
    }
    if (file.size() > kMaxTextFileSize) {
        reason = QStringLiteral("it is larger than 16 MiB");
        return std::nullopt;
    }
    // Read to the end, in case the file is not what its size said (a pipe, a growing file).
    std::string bytes;
    char buffer[65536];
    for (;;) {
        qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0) {
            reason = file.errorString();
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > static_cast<std::size_t>(kMaxTextFileSize)) {
            reason = QStringLiteral("it is larger than 16 MiB");
            return std::nullopt;
        }
    }
    return bytes;
}

// All or nothing through a temporary file renamed into place, so a failed save
// leaves the old file whole. A device or a pipe is written to directly: renaming
// would put a plain file in its place.
bool writeTextFile(const QString& path, const std::string& bytes, QString& reason) {
    const QFileInfo info(path);
    if (info.isDir()) {
        reason = QStringLiteral("it is a folder");
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (info.exists() && !info.isFile()) {
        QFile device(path);
        bool ok = device.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                  device.write(bytes.data(), size) == size;
        reason = device.errorString();
        return ok;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes.data(), size) == size && file.commit()) return true;
    reason = file.errorString();
    file.cancelWriting();
    return false;
}

} // namespace

void loadTextFile(ExchangeHost& host) {
    platform::FileDialog& dialog = host.fileDialog();
    prepareDialog(dialog.settings(), "Text Tarvex - Load File Dialog");
    const QString path = dialog.show(platform::FileDialog::Kind::Open, host.dialogParent());
    if (path.isEmpty()) return;

    QString reason;
    std::optional<std::string> bytes = readTextFile(path, reason);
    if (!bytes) {
        complain(host, QStringLiteral("The file \"%1\" cannot be loaded: %2.\n\nThe text area was not changed.")
                           .arg(path, reason));
        return;
    }
    host.setTextFileName(path);
    host.setMessageCodes(joinLines(*bytes));
}

void saveTextFile(ExchangeHost& host) {
    const std::string text = host.messageCodes();
    if (text.empty()) return;

    platform::FileDialog& dialog = host.fileDialog();
    prepareDialog(dialog.settings(), "Text Tarvex - Save File Dialog");
    dialog.settings().initDir.clear();
    const QString path = dialog.show(platform::FileDialog::Kind::Save, host.dialogParent());
    if (path.isEmpty()) return;

    QString reason;
    const bool written = writeTextFile(path, text + "\r\n", reason);
    if (!written) {
        complain(host, QStringLiteral("The text could not be saved to \"%1\": %2.\n\nNo file was changed.")
                           .arg(path, reason));
        return;
    }
    host.setTextFileName(path);
}

} // namespace tarvex::exchange
