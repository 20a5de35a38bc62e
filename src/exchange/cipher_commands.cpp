// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher_commands.h"

#include "dialog_words.h"

#include "messages/messages.h"
#include "messages/window_messages.h"
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

namespace tarvex::exchange {
namespace {

std::string failureBox(const Error& error) {
    return messages::messageFor(error).box;
}

// The area would cut the result, and a cipher text without its end cannot be read.
// Decrypt gets here only when the text was longer than the limit before ICQ mode was chosen.
std::string tooLongMessage(cipher::Direction direction, std::size_t length, MessageLimit limit) {
    return messages::resultTooLong(direction, length, limit.length, limit.ofMode);
}

Result<secret::Bytes> keyNumbersOf(CipherCommandHost& host) {
    return cipher::readKeyNumbers(host.keyPath());
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

void sealText(CipherCommandHost& host, std::string_view text) {
    Result<secret::Bytes> keyNumbers = keyNumbersOf(host);
    if (!keyNumbers) return host.reportFailure(failureBox(keyNumbers.error()));
    Result<seal::SealingKey> key = seal::SealingKey::forSealing(*keyNumbers, host.keyPath());
    keyNumbers->clear();
    if (!key) return host.reportFailure(failureBox(key.error()));

    // UTF-8 with LF line breaks, as every reader of a sealed message expects.
    const secret::String payload = text::lineFeedsFromCrLf(text);
    const std::string token = seal::sealWhole(payload, *key);
    const MessageLimit limit = host.messageLimit();
    if (token.size() > limit.length) {
        if (!limit.ofMode) return host.reportFailure(tooLongMessage(cipher::Direction::Encrypt, token.size(), limit));
        return host.reportFailure(failureBox(
            Error{.kind = Error::Kind::SealedTooLongForIcq, .length = token.size(), .limit = limit.length}));
    }
    host.setMessageText(token);
}

// The payload as the area's text: UTF-8 checked, every line break CR LF.
Result<secret::String> textOfPayload(std::string_view payload) {
    if (text::charset::malformedUtf8At(payload) != 0) return Error{.kind = Error::Kind::SealedNotText};
    return text::crLfFromLineBreaks(payload);
}

void openSealed(CipherCommandHost& host, std::string_view token) {
    Result<secret::Bytes> keyNumbers = keyNumbersOf(host);
    if (!keyNumbers) return host.reportFailure(failureBox(keyNumbers.error()));
    const seal::SealingKey key = seal::SealingKey::forOpening(*keyNumbers);
    keyNumbers->clear();
    const Result<secret::String> payload = seal::openWhole(token, key);
    if (!payload) return host.reportFailure(failureBox(payload.error()));
    const Result<secret::String> text = textOfPayload(*payload);
    if (!text) return host.reportFailure(failureBox(text.error()));
    const MessageLimit limit = host.messageLimit();
    // A character takes at least a byte: only a text of more bytes than the limit needs counting.
    if (text->size() > limit.length) {
        const std::size_t length = characterCount(*text);
        if (length > limit.length) return host.reportFailure(tooLongMessage(cipher::Direction::Decrypt, length, limit));
    }
    host.setMessageText(*text);
}

// The codes of the area's text; a character outside the set cannot be part of a cipher text.
Result<secret::String> codesOf(std::string_view text, cipher::Direction direction) {
    Result<secret::String> codes = text::charset::fromUtf8(text);
    if (codes) return codes;
    if (direction == cipher::Direction::Decrypt && codes.error().kind == Error::Kind::CharacterNotInSet) {
        return Error{.kind = Error::Kind::NotClassicCipherText, .position = codes.error().position,
                     .code = codes.error().code};
    }
    return codes.error();
}

void transformMessage(CipherCommandHost& host, cipher::Direction direction) {
    const secret::String text = host.messageText();
    if (text.empty() || host.keyPath().empty()) return;
    if (direction == cipher::Direction::Decrypt && seal::looksSealed(text)) return openSealed(host, text);

    Result<secret::Bytes> keyNumbers = keyNumbersOf(host);
    if (!keyNumbers) return host.reportFailure(failureBox(keyNumbers.error()));
    if (direction == cipher::Direction::Encrypt) {
        if (Status hiding = cipher::requireHidingKey(*keyNumbers, host.keyPath()); !hiding) {
            return host.reportFailure(failureBox(hiding.error()));
        }
    }
    const Result<secret::String> codes = codesOf(text, direction);
    const Result<secret::String> result = !codes ? Result<secret::String>(codes.error())
                                          : direction == cipher::Direction::Encrypt
                                              ? cipher::encryptText(*codes, *keyNumbers)
                                              : cipher::decryptText(*codes, *keyNumbers);
    keyNumbers->clear();
    if (!result) {
        if (direction == cipher::Direction::Encrypt && sealingCarries(result.error())) {
            if (host.confirm(messages::sealInstead(result.error()).text)) sealText(host, text);
            return;
        }
        return host.reportFailure(failureBox(result.error()));
    }
    const MessageLimit limit = host.messageLimit();
    if (result->size() > limit.length) return host.reportFailure(tooLongMessage(direction, result->size(), limit));
    host.setMessageText(text::charset::toUtf8(*result));
}

// Where a new key goes: a .tvk file, the question before one is replaced.
// Empty on cancel; the key box keeps the key it had.
std::string askNewKeyFile(CipherCommandHost& host, const messages::DialogWords& words) {
    const std::string previousKey = host.keyPath();
    platform::FileDialogSettings& dialog = host.dialogSettings();
    prepareDialog(dialog, words, "tvk");
    dialog.initDir = kKeyFolder;
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

void createKey(CipherCommandHost& host, cipher::UniformSource& source, cipher::TimeOfDayClock& clock) {
    const std::string path = askNewKeyFile(host, messages::createKeyDialog());
    if (path.empty()) return;
    const Result<secret::Bytes> key = cipher::generateKeyBytes(source, clock);
    takeNewKey(host, path,
               key ? cipher::saveKeyFile(path, *key, files::AtomicFileWriter::Replace::Allowed) : Status(key.error()));
}

bool saveAgreedKey(CipherCommandHost& host, const agree::Agreement& agreement) {
    const std::string path = askNewKeyFile(host, messages::saveAgreedKeyDialog());
    if (path.empty()) return false;
    return takeNewKey(host, path, agreement.saveKeyFile(path, files::AtomicFileWriter::Replace::Allowed));
}

void loadKey(CipherCommandHost& host) {
    const std::string previousKey = host.keyPath();
    prepareDialog(host.dialogSettings(), messages::loadKeyDialog(), "tvk");
    const std::string path = host.showOpenDialog();
    host.setKeyPath(path.empty() ? previousKey : path);
}

void encryptMessage(CipherCommandHost& host) {
    transformMessage(host, cipher::Direction::Encrypt);
}

void decryptMessage(CipherCommandHost& host) {
    transformMessage(host, cipher::Direction::Decrypt);
}

void sealMessage(CipherCommandHost& host) {
    const secret::String text = host.messageText();
    if (text.empty() || host.keyPath().empty()) return;
    sealText(host, text);
}

} // namespace tarvex::exchange
