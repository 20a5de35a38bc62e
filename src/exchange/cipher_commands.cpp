// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher_commands.h"

#include "text/charset.h"
#include "cipher/key_file_reader.h"
#include "cipher/key_file_writer.h"
#include "cipher/key_generator.h"
#include "cipher/key_strength.h"
#include "cipher/text_transformer.h"

#include <algorithm>
#include <cstring>

namespace tarvex {
namespace {

constexpr const char* kKeyFilter = "|*tvk";

void prepareKeyDialog(FileDialogSettings& dialog, const char* title, const char* filterName) {
    dialog.fileName.clear();
    dialog.cancelError = false;
    dialog.title = title;
    dialog.defaultExt = "tvk";
    dialog.filter = std::string(filterName) + kKeyFilter;
    dialog.filterIndex = 1;
}

std::string reason(int osError) {
    return osError != 0 ? std::strerror(osError) : "unknown error";
}

// The area would cut the result, and a cipher text without its end cannot be read.
// Decrypt gets here only when the text was longer than the limit before ICQ mode was chosen.
std::string tooLongMessage(Direction direction, std::size_t length, MessageLimit limit) {
    const bool encrypt = direction == Direction::Encrypt;
    const std::string result = encrypt ? "The cipher text" : "The decrypted message";
    const std::string count = std::to_string(length);
    const std::string allowed = std::to_string(limit.length);
    if (!limit.ofMode) {
        return result + " would be " + count + " characters long, more than the " + allowed +
               " characters that the text area holds. The text was not changed.\n\nA text this large is for "
               "tarvex-cli, which works on files of any size.";
    }
    const std::string over = std::to_string(length - limit.length);
    std::string message = result + " would be " + count + " characters long, " + over + " more than the " + allowed +
                          " that the text area takes in ICQ mode, and its end would be lost. The text was not "
                          "changed.\n\n";
    if (encrypt) message += "Shorten the message by " + over + (over == "1" ? " character" : " characters") + ", or ";
    return message + (encrypt ? "choose" : "Choose") + " E-Mail mode (Ctrl+M), which has no limit, and " +
           (encrypt ? "encrypt" : "decrypt") + " again.";
}

void transformMessage(CipherCommandHost& host, Direction direction) {
    const std::string text = host.messageCodes();
    if (text.empty() || host.keyPath().empty()) return;

    Result<std::vector<std::uint8_t>> keyNumbers = readKeyNumbers(host.keyPath());
    if (!keyNumbers) return host.reportFailure(failureMessage(keyNumbers.error()));
    if (direction == Direction::Encrypt) {
        if (Status hiding = requireHidingKey(*keyNumbers, host.keyPath()); !hiding) {
            return host.reportFailure(failureMessage(hiding.error()));
        }
    }
    Result<std::string> result =
        direction == Direction::Encrypt ? encryptText(text, *keyNumbers) : decryptText(text, *keyNumbers);
    std::fill(keyNumbers->begin(), keyNumbers->end(), std::uint8_t{0}); // no key material stays behind
    if (!result) return host.reportFailure(failureMessage(result.error()));
    const MessageLimit limit = host.messageLimit();
    if (result->size() > limit.length) return host.reportFailure(tooLongMessage(direction, result->size(), limit));
    host.setMessageCodes(*result);
}

// Codes 253 to 255 fail with every key; the others only with some.
std::string encryptAdvice(std::uint32_t code) {
    return code >= 253 ? "\n\nNo key can encrypt it: remove or replace it, then encrypt again."
                       : "\n\nRemove or replace it, or use another key, then encrypt again.";
}

} // namespace

void createKey(CipherCommandHost& host, UniformSource& source, TimeOfDayClock& clock) {
    const std::string previousKey = host.keyPath();
    FileDialogSettings& dialog = host.dialogSettings();
    prepareKeyDialog(dialog, "Text Tarvex - Create Key Dialog", "Tarvex Key Files(*.tvk)");
    dialog.initDir = kKeyFolder;
    // Most likely the key shared with a friend, without which no earlier message can be read.
    dialog.replaceQuestion = "Do you want to replace it with a new key? Every message encrypted with the key in "
                             "it could then no longer be decrypted, by you or by anyone you share it with.";

    const std::string path = host.showSaveDialog();
    if (path.empty()) {
        host.setKeyPath(previousKey);
        return;
    }
    Result<std::vector<std::uint8_t>> key = generateKeyBytes(source, clock);
    Status saved = key ? saveKeyFile(path, *key, AtomicFileWriter::Replace::Allowed) : Status(key.error());
    if (key) std::fill(key->begin(), key->end(), std::uint8_t{0});
    // An unwritten key must not become the current one.
    if (!saved) return host.reportFailure(failureMessage(saved.error()));
    host.setKeyPath(path);
    host.enableTextFileLoad();
}

void loadKey(CipherCommandHost& host) {
    const std::string previousKey = host.keyPath();
    prepareKeyDialog(host.dialogSettings(), "Text Tarvex - Load Key Dialog", "Tarvex Key File(*.tvk)");
    const std::string path = host.showOpenDialog();
    host.setKeyPath(path.empty() ? previousKey : path);
}

void encryptMessage(CipherCommandHost& host) {
    transformMessage(host, Direction::Encrypt);
}

void decryptMessage(CipherCommandHost& host) {
    transformMessage(host, Direction::Decrypt);
}

std::string failureMessage(const Error& error) {
    const std::string file = "'" + error.path + "'";
    const std::string at = " at position " + std::to_string(error.position);
    switch (error.kind) {
    case Error::Kind::FileUnreadable:
        return "The key file " + file + " cannot be read: " + reason(error.osError) +
               ".\n\nLoad the key file again, or choose another one.";
    case Error::Kind::FileTooLarge:
        return "The file " + file + " is far too large to be a key file.\n\nLoad the key file that you share "
               "with the other side.";
    case Error::Kind::NoKeyNumber:
        return "The key file " + file + " holds no key: it is empty or has only empty lines.\n\nLoad the key "
               "file that you share with the other side, or create a new one.";
    case Error::Kind::FileWriteFailed:
        return "The key file " + file + " could not be written: " + reason(error.osError) +
               ".\n\nChoose a folder where you may write, and try again.";
    case Error::Kind::FileExists:
        return "The key file " + file + " already exists.";
    case Error::Kind::RandomSourceFailed:
        return "No key could be made: the system's random source failed (" + reason(error.osError) + ").";
    case Error::Kind::InvalidUtf8:
        return error.describe();
    case Error::Kind::CharacterNotInSet:
        return "The character " + charset::describeCharacter(error.code) + at +
               " cannot be encrypted: it is not in the Windows-1252 character set.\n\nReplace or remove it, "
               "then try again.";
    case Error::Kind::EncryptedCodeTooLarge:
        return "The character " + charset::describeCode(static_cast<std::uint8_t>(error.code)) + at +
               " cannot be encrypted with this key: its code would exceed 255." + encryptAdvice(error.code);
    case Error::Kind::EncryptedCodeReserved:
        return "The character " + charset::describeCode(static_cast<std::uint8_t>(error.code)) + at +
               " cannot be encrypted with this key: its cipher code would be read back as a tab or a line "
               "break." + encryptAdvice(error.code);
    case Error::Kind::ControlCharacter:
        return "The control character " + charset::describeCode(static_cast<std::uint8_t>(error.code)) + at +
               " cannot be encrypted: it would not come back as itself.\n\nRemove it, then encrypt again.";
    case Error::Kind::KeyHidesNothing:
        return "The file " + file + " does not look like a key: more than half of its key numbers are 0, so "
               "the cipher text would show most of the message.\n\nLoad the key file that you share with the "
               "other side, or create a new one.";
    case Error::Kind::DecryptedCodeNegative:
        return "The character " + charset::describeCode(static_cast<std::uint8_t>(error.code)) + at +
               " cannot be decrypted with this key: its code would fall below 0.\n\nThe cipher text was "
               "probably broken on its way, for instance by a line break that a mail program inserted. Remove "
               "such line breaks and decrypt again, and check that the right key is loaded.";
    case Error::Kind::NoCipherText:
    case Error::Kind::OnlyLineBreaks:
        return "There is no cipher text to decrypt.";
    case Error::Kind::NotRegularFile:
        return "The file " + file + " is not a regular file but a device, a pipe or a socket.\n\nChoose a key "
               "file in a folder.";
    }
    return error.describe();
}

} // namespace tarvex
