// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher_commands.h"

#include "messages/messages.h"
#include "cipher/key_file_reader.h"
#include "cipher/key_file_writer.h"
#include "cipher/key_generator.h"
#include "cipher/key_strength.h"
#include "cipher/text_transformer.h"

#include <algorithm>

namespace tarvex {
namespace {

constexpr const char* kKeyFilter = "|*tvk";

std::string failureBox(const Error& error) {
    return messageFor(error).box;
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
    if (!keyNumbers) return host.reportFailure(failureBox(keyNumbers.error()));
    if (direction == Direction::Encrypt) {
        if (Status hiding = requireHidingKey(*keyNumbers, host.keyPath()); !hiding) {
            return host.reportFailure(failureBox(hiding.error()));
        }
    }
    Result<std::string> result =
        direction == Direction::Encrypt ? encryptText(text, *keyNumbers) : decryptText(text, *keyNumbers);
    std::fill(keyNumbers->begin(), keyNumbers->end(), std::uint8_t{0}); // no key material stays behind
    if (!result) return host.reportFailure(failureBox(result.error()));
    const MessageLimit limit = host.messageLimit();
    if (result->size() > limit.length) return host.reportFailure(tooLongMessage(direction, result->size(), limit));
    host.setMessageCodes(*result);
}

} // namespace

void createKey(CipherCommandHost& host, UniformSource& source, TimeOfDayClock& clock) {
    const std::string previousKey = host.keyPath();
    FileDialogSettings& dialog = host.dialogSettings();
    dialog.prepare("Text Tarvex - Create Key Dialog", "tvk", std::string("Tarvex Key Files(*.tvk)") + kKeyFilter);
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
    if (!saved) return host.reportFailure(failureBox(saved.error()));
    host.setKeyPath(path);
    host.enableTextFileLoad();
}

void loadKey(CipherCommandHost& host) {
    const std::string previousKey = host.keyPath();
    host.dialogSettings().prepare("Text Tarvex - Load Key Dialog", "tvk",
                                  std::string("Tarvex Key File(*.tvk)") + kKeyFilter);
    const std::string path = host.showOpenDialog();
    host.setKeyPath(path.empty() ? previousKey : path);
}

void encryptMessage(CipherCommandHost& host) {
    transformMessage(host, Direction::Encrypt);
}

void decryptMessage(CipherCommandHost& host) {
    transformMessage(host, Direction::Decrypt);
}

} // namespace tarvex
