// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher_commands.h"

#include "messages/messages.h"
#include "agree/agreement.h"
#include "cipher/key_file_reader.h"
#include "cipher/key_file_writer.h"
#include "cipher/key_generator.h"
#include "cipher/key_strength.h"
#include "cipher/text_transformer.h"
#include "seal/opener.h"
#include "seal/sealer.h"
#include "seal/sealing_key.h"
#include "seal/text_to_decrypt.h"
#include "text/charset.h"
#include "text/line_breaks.h"

#include <sodium.h>

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

// Wipes a string that held a message or a payload once it goes.
class WipedString {
public:
    std::string text;
    WipedString() = default;
    explicit WipedString(std::string from) : text(std::move(from)) {}
    WipedString(const WipedString&) = delete;
    WipedString& operator=(const WipedString&) = delete;
    ~WipedString() { sodium_memzero(text.data(), text.size()); }
};

Result<std::vector<std::uint8_t>> keyNumbersOf(CipherCommandHost& host) {
    return readKeyNumbers(host.keyPath());
}

void wipe(std::vector<std::uint8_t>& keyNumbers) {
    std::fill(keyNumbers.begin(), keyNumbers.end(), std::uint8_t{0}); // no key material stays behind
}

// What the classic format cannot carry, where sealing would: a character
// outside the set, or one that this key cannot step.
bool sealingCarries(const Error& error) {
    switch (error.kind) {
    case Error::Kind::CharacterNotInSet:
    case Error::Kind::EncryptedCodeTooLarge:
    case Error::Kind::EncryptedCodeReserved:
    case Error::Kind::ControlCharacter: return true;
    default: return false;
    }
}

// The refusal names the character and its position and says what would help;
// sealing is the other way out.
std::string sealInsteadQuestion(const Error& refusal) {
    return failureBox(refusal) + "\n\n" + failureBox(Error{.kind = Error::Kind::SealInstead});
}

void sealText(CipherCommandHost& host, std::string_view text) {
    Result<std::vector<std::uint8_t>> keyNumbers = keyNumbersOf(host);
    if (!keyNumbers) return host.reportFailure(failureBox(keyNumbers.error()));
    Result<seal::SealingKey> key = seal::SealingKey::forSealing(*keyNumbers, host.keyPath());
    wipe(*keyNumbers);
    if (!key) return host.reportFailure(failureBox(key.error()));

    // UTF-8 with LF line breaks, as every reader of a sealed message expects.
    const WipedString payload(text::lineFeedsFromCrLf(text));
    const std::string token = seal::sealWhole(payload.text, *key);
    const MessageLimit limit = host.messageLimit();
    if (token.size() > limit.length) {
        if (!limit.ofMode) return host.reportFailure(tooLongMessage(Direction::Encrypt, token.size(), limit));
        return host.reportFailure(failureBox(
            Error{.kind = Error::Kind::SealedTooLongForIcq, .position = token.size(), .limit = limit.length}));
    }
    host.setMessageText(token);
}

// The payload as the area's text: UTF-8 checked, every line break CR LF.
Result<std::string> textOfPayload(std::string_view payload) {
    if (charset::malformedUtf8At(payload) != 0) return Error{.kind = Error::Kind::SealedNotText};
    return text::crLfFromLineBreaks(payload);
}

void openSealed(CipherCommandHost& host, const std::string& token) {
    Result<std::vector<std::uint8_t>> keyNumbers = keyNumbersOf(host);
    if (!keyNumbers) return host.reportFailure(failureBox(keyNumbers.error()));
    const seal::SealingKey key = seal::SealingKey::forOpening(*keyNumbers);
    wipe(*keyNumbers);
    Result<std::string> payload = seal::openWhole(token, key);
    if (!payload) return host.reportFailure(failureBox(payload.error()));
    const WipedString opened(std::move(*payload));
    Result<std::string> text = textOfPayload(opened.text);
    if (!text) return host.reportFailure(failureBox(text.error()));
    const WipedString shown(std::move(*text));
    const MessageLimit limit = host.messageLimit();
    // A character takes at least a byte: only a text of more bytes than the limit needs counting.
    if (shown.text.size() > limit.length) {
        const std::size_t length = characterCount(shown.text);
        if (length > limit.length) return host.reportFailure(tooLongMessage(Direction::Decrypt, length, limit));
    }
    host.setMessageText(shown.text);
}

void transformMessage(CipherCommandHost& host, Direction direction) {
    const WipedString text(host.messageText());
    if (text.text.empty() || host.keyPath().empty()) return;
    if (direction == Direction::Decrypt && seal::looksSealed(text.text)) return openSealed(host, text.text);

    Result<std::vector<std::uint8_t>> keyNumbers = keyNumbersOf(host);
    if (!keyNumbers) return host.reportFailure(failureBox(keyNumbers.error()));
    if (direction == Direction::Encrypt) {
        if (Status hiding = requireHidingKey(*keyNumbers, host.keyPath()); !hiding) {
            wipe(*keyNumbers);
            return host.reportFailure(failureBox(hiding.error()));
        }
    }
    Result<std::string> codes = charset::fromUtf8(text.text);
    if (!codes && direction == Direction::Decrypt && codes.error().kind == Error::Kind::CharacterNotInSet) {
        codes = Error{.kind = Error::Kind::NotClassicCipherText, .position = codes.error().position,
                      .code = codes.error().code};
    }
    Result<std::string> result = !codes ? Result<std::string>(codes.error())
                                 : direction == Direction::Encrypt ? encryptText(*codes, *keyNumbers)
                                                                   : decryptText(*codes, *keyNumbers);
    wipe(*keyNumbers);
    if (codes) sodium_memzero(codes->data(), codes->size());
    if (!result) {
        if (direction == Direction::Encrypt && sealingCarries(result.error())) {
            if (host.confirm(sealInsteadQuestion(result.error()))) sealText(host, text.text);
            return;
        }
        return host.reportFailure(failureBox(result.error()));
    }
    const WipedString shown(charset::toUtf8(*result));
    sodium_memzero(result->data(), result->size());
    const MessageLimit limit = host.messageLimit();
    if (result->size() > limit.length) return host.reportFailure(tooLongMessage(direction, result->size(), limit));
    host.setMessageText(shown.text);
}

} // namespace

namespace {

// Where a new key goes: a .tvk file, the question before one is replaced.
// Empty on cancel; the key box keeps the key it had.
std::string askNewKeyFile(CipherCommandHost& host, const char* title) {
    const std::string previousKey = host.keyPath();
    FileDialogSettings& dialog = host.dialogSettings();
    dialog.prepare(title, "tvk", std::string("Tarvex Key Files(*.tvk)") + kKeyFilter);
    dialog.initDir = kKeyFolder;
    // Most likely the key shared with a friend, without which no earlier message can be read.
    dialog.replaceQuestion = "Do you want to replace it with a new key? Every message encrypted with the key in "
                             "it could then no longer be decrypted, by you or by anyone you share it with.";
    const std::string path = host.showSaveDialog();
    if (path.empty()) host.setKeyPath(previousKey);
    return path;
}

// After the new key was written: it is the current key.
bool takeNewKey(CipherCommandHost& host, const std::string& path, const Status& saved) {
    // An unwritten key must not become the current one.
    if (!saved) {
        host.reportFailure(failureBox(saved.error()));
        return false;
    }
    host.setKeyPath(path);
    host.enableTextFileLoad();
    return true;
}

} // namespace

void createKey(CipherCommandHost& host, UniformSource& source, TimeOfDayClock& clock) {
    const std::string path = askNewKeyFile(host, "Text Tarvex - Create Key Dialog");
    if (path.empty()) return;
    Result<std::vector<std::uint8_t>> key = generateKeyBytes(source, clock);
    Status saved = key ? saveKeyFile(path, *key, AtomicFileWriter::Replace::Allowed) : Status(key.error());
    if (key) std::fill(key->begin(), key->end(), std::uint8_t{0});
    takeNewKey(host, path, saved);
}

bool saveAgreedKey(CipherCommandHost& host, const agree::Agreement& agreement) {
    const std::string path = askNewKeyFile(host, "Text Tarvex - Save Agreed Key Dialog");
    if (path.empty()) return false;
    return takeNewKey(host, path, agreement.saveKeyFile(path, AtomicFileWriter::Replace::Allowed));
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

void sealMessage(CipherCommandHost& host) {
    const WipedString text(host.messageText());
    if (text.text.empty() || host.keyPath().empty()) return;
    sealText(host, text.text);
}

} // namespace tarvex
