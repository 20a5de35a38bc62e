// SPDX-License-Identifier: GPL-3.0-or-later

#include "messages.h"

#include "i18n/fill.h"
#include "seal/token_length.h"
#include "text/charset.h"
#include "text/character_names.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace tarvex {
namespace {

std::string quoted(const std::string& path) {
    if (path == kStandardInputName || path == kStandardOutputName) return path;
    return "'" + escapedForMessage(path) + "'";
}

std::string fileType(std::uint32_t typeBits) {
    switch (typeBits) {
    case S_IFIFO: return "a pipe (FIFO)";
    case S_IFCHR:
    case S_IFBLK: return "a device";
    case S_IFSOCK: return "a socket";
    case S_IFDIR: return "a folder";
    default: return "of a special kind";
    }
}

// Codes 253 to 255 cannot be encrypted with any key: every step takes them
// past 255, and no step reads back as themselves.
std::string encryptHint(std::uint32_t code) {
    return code >= 253 ? "; no key can encrypt it, so remove or replace it" : "; remove or replace it, or use another key";
}

// Codes 253 to 255 fail with every key; the others only with some.
std::string encryptAdvice(std::uint32_t code) {
    return code >= 253 ? "\n\nNo key can encrypt it: remove or replace it, then encrypt again."
                       : "\n\nRemove or replace it, or use another key, then encrypt again.";
}

// "invitation" or "answer"; None where either is taken (the window's one field).
std::string lineName(AgreementLine line) {
    switch (line) {
    case AgreementLine::Answer: return "answer";
    case AgreementLine::None: return "invitation or answer";
    case AgreementLine::Invitation: break;
    }
    return "invitation";
}

std::string withArticle(AgreementLine line) {
    switch (line) {
    case AgreementLine::Answer: return "an answer";
    case AgreementLine::None: return "an invitation or an answer";
    case AgreementLine::Invitation: break;
    }
    return "an invitation";
}

std::string prefixOf(AgreementLine line) {
    switch (line) {
    case AgreementLine::Answer: return "tarvexanswer1";
    case AgreementLine::None: return "tarvexinvite1 or tarvexanswer1";
    case AgreementLine::Invitation: break;
    }
    return "tarvexinvite1";
}

std::string capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

} // namespace

std::string escapedForMessage(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    char escape[16];
    while (!text.empty()) {
        const auto [size, ch] = charset::firstUtf8Character(text);
        if (size > 0 && charset::showsAsItself(ch)) {
            out.append(text.substr(0, size));
        } else if (size == 0) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[0]));
            out += escape;
        } else if (ch == '\n' || ch == '\r' || ch == '\t' || ch == 0x1B) {
            out += ch == '\n' ? "\\n" : ch == '\r' ? "\\r" : ch == '\t' ? "\\t" : "\\e";
        } else if (ch < 0x80) {
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(ch));
            out += escape;
        } else {
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(ch));
            out += escape;
        }
        text.remove_prefix(size == 0 ? 1 : size);
    }
    return out;
}

ErrorMessage messageFor(const Error& error) {
    const std::string at = " at position " + std::to_string(error.position);
    // Faults inside a text name the text when the caller knows it.
    const std::string in = error.path.empty() ? std::string() : "in " + quoted(error.path) + ", ";
    // The window names a file as it was given, in plain quotes.
    const std::string file = "'" + error.path + "'";
    const std::string reason = systemReason(error.osError);
    const auto character = [&] { return charset::describeCharacter(error.code); };
    const auto code = [&] { return charset::describeCode(static_cast<std::uint8_t>(error.code)); };
    switch (error.kind) {
    case Error::Kind::FileUnreadable:
        return {.line = "cannot read " + quoted(error.path) + ": " + reason,
                .box = "The key file " + file + " cannot be read: " + reason +
                       ".\n\nLoad the key file again, or choose another one."};
    case Error::Kind::FileTooLarge:
        return {.line = "cannot read " + quoted(error.path) + ": it is larger than " +
                        std::to_string(error.limit / (1024 * 1024)) + " MiB",
                .box = "The file " + file + " is far too large to be a key file.\n\nLoad the key file that you "
                       "share with the other side."};
    case Error::Kind::FileWriteFailed:
        return {.line = "cannot write " + quoted(error.path) + ": " + reason,
                .box = "The key file " + file + " could not be written: " + reason +
                       ".\n\nChoose a folder where you may write, and try again."};
    case Error::Kind::FileExists:
        return {.line = quoted(error.path) + " already exists",
                .lineHint = " (use --force to replace it)",
                .box = "The key file " + file + " already exists."};
    case Error::Kind::NoKeyNumber:
        return {.line = "the key file " + quoted(error.path) + " holds no key: it is empty or has only empty lines",
                .box = "The key file " + file + " holds no key: it is empty or has only empty lines.\n\nLoad the "
                       "key file that you share with the other side, or create a new one."};
    case Error::Kind::CharacterNotInSet:
        return {.line = in + "the character " + character() + at + " has no code in the Windows-1252 character set",
                .box = "The character " + character() + at +
                       " cannot be encrypted: it is not in the Windows-1252 character set.\n\nReplace or remove "
                       "it, then try again."};
    case Error::Kind::InvalidUtf8: {
        std::string line = in + "the text is not valid UTF-8 at byte " + std::to_string(error.position);
        return {.line = line, .box = line};
    }
    case Error::Kind::EncryptedCodeTooLarge:
        return {.line = in + "the character " + code() + at + " cannot be encrypted with this key: its code would "
                        "exceed 255" + encryptHint(error.code),
                .box = "The character " + code() + at + " cannot be encrypted with this key: its code would exceed "
                       "255." + encryptAdvice(error.code)};
    case Error::Kind::EncryptedCodeReserved:
        return {.line = in + "the character " + code() + at + " cannot be encrypted with this key: its cipher code "
                        "would read back as a tab or a line break" + encryptHint(error.code),
                .box = "The character " + code() + at + " cannot be encrypted with this key: its cipher code would "
                       "be read back as a tab or a line break." + encryptAdvice(error.code)};
    case Error::Kind::ControlCharacter:
        return {.line = in + "the control character " + code() + at +
                        " cannot be encrypted: it would not come back as itself; remove it",
                .box = "The control character " + code() + at +
                       " cannot be encrypted: it would not come back as itself.\n\nRemove it, then encrypt again."};
    case Error::Kind::KeyHidesNothing:
        return {.line = quoted(error.path) + " does not look like a key: more than half of its key numbers are 0, so "
                        "the cipher text would show the message; use the key file that you share, or create a new "
                        "one",
                .box = "The file " + file + " does not look like a key: more than half of its key numbers are 0, "
                       "so the cipher text would show most of the message.\n\nLoad the key file that you share "
                       "with the other side, or create a new one."};
    case Error::Kind::DecryptedCodeNegative:
        return {.line = in + "the character " + code() + at +
                        " cannot be decrypted with this key: its code would fall below 0",
                .box = "The character " + code() + at + " cannot be decrypted with this key: its code would fall "
                       "below 0.\n\nThe cipher text was probably broken on its way, for instance by a line break "
                       "that a mail program inserted. Remove such line breaks and decrypt again, and check that the "
                       "right key is loaded."};
    case Error::Kind::NoCipherText:
        return {.line = quoted(error.path) + " holds no cipher text: it is empty",
                .box = "There is no cipher text to decrypt."};
    case Error::Kind::OnlyLineBreaks:
        return {.line = quoted(error.path) + " holds no cipher text: it has only line breaks",
                .box = "There is no cipher text to decrypt."};
    case Error::Kind::NotRegularFile:
        return {.line = "cannot use " + quoted(error.path) + ": it is " + fileType(error.fileType) +
                        ", not a regular file",
                .box = "The file " + file + " is not a regular file but a device, a pipe or a socket.\n\nChoose a "
                       "key file in a folder."};
    case Error::Kind::SealedDamaged: {
        const std::string where = error.position == 0 ? std::string()
            : ": the character " + character() + at + " cannot be part of it";
        return {.line = in + "the sealed message is damaged" + where +
                        "; it was changed or cut on its way, so ask the sender to send it again",
                .box = "The sealed message is damaged" + where + ".\n\nIt was changed or cut on its way. Ask the "
                       "sender to send it again, whole."};
    }
    case Error::Kind::SealedOtherKey:
        return {.line = in + "the sealed message was made with another key (or changed on purpose); the key in use "
                        "has the fingerprint " + error.fingerprint,
                .box = "The sealed message was made with another key, or changed on purpose.\n\nThe key in use has "
                       "the fingerprint " + error.fingerprint + ". Load the key file that you share with the sender."};
    case Error::Kind::SealedNewerVersion:
        return {.line = in + "the sealed message was made by a newer version of Text Tarvex; update to read it",
                .box = "The sealed message was made by a newer version of Text Tarvex.\n\nUpdate Text Tarvex to "
                       "read it."};
    case Error::Kind::NotSealed:
        return {.line = quoted(error.path) + " holds no sealed message: it does not begin with tarvex1",
                .box = "The text is no sealed message: it does not begin with tarvex1."};
    case Error::Kind::SealKeyTooShort: {
        const std::string length = std::to_string(error.length);
        const std::string needed = std::to_string(error.limit);
        return {.line = i18n::fill("{path} is too short to seal with: it has {length} key numbers, a sealing key "
                                   "needs {needed}; create a new key",
                                   {{"path", quoted(error.path)}, {"length", length}, {"needed", needed}}),
                .box = i18n::fill("The key file {path} is too short to seal with: it has {length} key numbers, and "
                                  "sealing needs {needed}.\n\nCreate a new key and give a copy to the other side.",
                                  {{"path", file}, {"length", length}, {"needed", needed}})};
    }
    case Error::Kind::SealKeyTooWeak:
        return {.line = quoted(error.path) + " is too weak to seal with: more than half of its key numbers are 0; "
                        "use the key file that you share, or create a new one",
                .box = "The key file " + file + " is too weak to seal with: more than half of its key numbers are "
                       "0.\n\nLoad the key file that you share with the other side, or create a new one."};
    case Error::Kind::SealedNotText:
        return {.line = in + "the sealed message holds no UTF-8 text: it is a file; open it with tarvex-cli",
                .box = "The sealed message was opened, but it holds no text: its content is not UTF-8, so it is "
                       "a file that was sealed with tarvex-cli.\n\nOpen it with tarvex-cli into a file: "
                       "tarvex-cli decrypt --sealed -k KEYFILE -o FILE. The text was not changed."};
    case Error::Kind::SealedTooLongForIcq: {
        const std::string length = std::to_string(error.length);
        const std::string over = std::to_string(error.length - error.limit);
        const std::string allowed = std::to_string(error.limit);
        const std::string payload = std::to_string(seal::largestPayloadWithin(error.limit));
        return {.line = i18n::fill("the sealed message would be {length} characters long, {over} more than the "
                                   "{limit} of an ICQ message",
                                   {{"length", length}, {"over", over}, {"limit", allowed}}),
                .box = i18n::fill(
                    "The sealed message would be {length} characters long, {over} more than the {limit} that the "
                    "text area takes in ICQ mode, and its end would be lost. The text was not changed.\n\nA message "
                    "of up to {payload} bytes of UTF-8 (as many letters of the English alphabet, about half as many "
                    "of most other scripts) seals within the limit. Shorten the message, or choose E-Mail mode "
                    "(Ctrl+M), which has no limit, and seal again.",
                    {{"length", length}, {"over", over}, {"limit", allowed}, {"payload", payload}})};
    }
    case Error::Kind::NotClassicCipherText:
        return {.line = in + "the character " + character() + at + " cannot be part of a cipher text: it is not in "
                        "the Windows-1252 character set",
                .box = "The character " + character() + at + " cannot be part of a cipher text: it is not in the "
                       "Windows-1252 character set.\n\nThe text is no cipher text, or it was changed on its way. "
                       "Ask the sender to send it again."};
    case Error::Kind::NotCipherText:
        return {.line = quoted(error.path) + " holds no cipher text: it begins with " + character() +
                        ", not with \xC3\xB0 or tarvex1",
                .box = "The text is no cipher text: it begins with " + character() + ", not with \xC3\xB0 or "
                       "tarvex1.\n\nOnly a text that Text Tarvex encrypted or sealed can be decrypted."};
    case Error::Kind::OnlyWhiteSpace:
        return {.line = quoted(error.path) + " holds no cipher text: it has only white space",
                .box = "There is no cipher text to decrypt."};
    case Error::Kind::LooksDamagedSealed:
        return {.line = quoted(error.path) + " looks like a damaged sealed message: it does not begin with tarvex1",
                .lineHint = "; it was changed or cut on its way, so ask the sender to send it again",
                .box = "The text looks like a sealed message that was damaged on its way: it does not begin with "
                       "tarvex1.\n\nAsk the sender to send it again, whole."};
    case Error::Kind::AgreeLineDamaged: {
        const std::string where = error.position == 0 ? std::string(": its check value does not match")
            : ": the character " + character() + at + " cannot be part of it";
        const std::string what = "the " + lineName(error.foundLine) + " is damaged" + where;
        return {.line = in + what,
                .lineHint = "; copy it again, whole, or ask the other side to send it again",
                .box = capitalised(what) + ".\n\nCopy it again, whole, or ask the other side to send it again."};
    }
    case Error::Kind::AgreeLineCut: {
        const std::string what = "the " + lineName(error.foundLine) + " is cut: the text ends before the line is whole";
        return {.line = in + what,
                .lineHint = "; copy it again, whole, or ask the other side to send it again",
                .box = capitalised(what) + ".\n\nCopy it again, whole, or ask the other side to send it again."};
    }
    case Error::Kind::AgreeNewerVersion: {
        const std::string what = "the " + lineName(error.foundLine) + " was made by a newer version of Text Tarvex";
        return {.line = in + what, .lineHint = "; update Text Tarvex to agree with the other side",
                .box = capitalised(what) + ".\n\nUpdate Text Tarvex to agree on a key with the other side."};
    }
    case Error::Kind::AgreeWrongKind: {
        if (error.foundLine == AgreementLine::Invitation) {
            const std::string what = "this is an invitation, not the answer to yours";
            return {.line = in + what,
                    .lineHint = "; only one of you invites: the other answers the invitation with "
                                "'tarvex-cli answer' and sends the answer back",
                    .box = capitalised(what) + ".\n\nOnly one of you invites; the other answers. Paste the answer "
                           "that the other side sends back."};
        }
        const std::string what = "this is an answer, not an invitation";
        return {.line = in + what,
                .lineHint = "; an answer goes back to the side that made the invitation (tarvex-cli invite); "
                            "here, give the invitation that the other side sent",
                .box = capitalised(what) + ".\n\nPaste the invitation that the other side sent. An answer is read "
                       "by the agreement that made its invitation."};
    }
    case Error::Kind::AgreeOwnInvitation:
        return {.line = "this is your own invitation",
                .lineHint = "; send it to the other side, and give the answer they send back",
                .box = "This is your own invitation.\n\nSend it to the other side, and paste here the answer they "
                       "send back."};
    case Error::Kind::AgreeNoLine: {
        const std::string holder = error.path.empty() ? std::string("the text") : quoted(error.path);
        const std::string what =
            holder + " holds no " + lineName(error.expectedLine) + ": no line begins with " + prefixOf(error.expectedLine);
        return {.line = what, .lineHint = "; give the " + lineName(error.expectedLine) + " that the other side sent",
                .box = capitalised(what) + ".\n\nPaste the " + lineName(error.expectedLine) +
                       " that the other side sent."};
    }
    case Error::Kind::AgreeNothingGiven: {
        const std::string holder = error.path.empty() ? std::string("the text") : quoted(error.path);
        const std::string what = holder + " holds no " + lineName(error.expectedLine) + ": it is empty";
        return {.line = what, .lineHint = "; give the " + lineName(error.expectedLine) + " that the other side sent",
                .box = "There is no " + lineName(error.expectedLine) + ".\n\nPaste the " +
                       lineName(error.expectedLine) + " that the other side sent."};
    }
    case Error::Kind::AgreeSealedGiven: {
        const std::string holder = error.path.empty() ? std::string("the text") : quoted(error.path);
        const std::string what = holder + " holds a sealed message, not " + withArticle(error.expectedLine);
        return {.line = what,
                .lineHint = "; open it with decrypt, and give the " + lineName(error.expectedLine) +
                            " that the other side sent",
                .box = "This is a sealed message, not " + withArticle(error.expectedLine) +
                       ".\n\nOpen it with Decrypt. Here, paste the " + lineName(error.expectedLine) +
                       " that the other side sent."};
    }
    case Error::Kind::AgreeOtherInvitation:
        return {.line = in + "the answer belongs to another invitation, not to this one",
                .lineHint = "; ask the other side to answer the invitation shown now",
                .box = "This answer belongs to another invitation, not to the one shown now.\n\nAsk the other side "
                       "to answer the invitation shown now, and paste their new answer."};
    case Error::Kind::AgreeMadeOnPurpose: {
        const std::string what = "the " + lineName(error.foundLine) + " carries a public half from which no key can be "
                                 "made; Text Tarvex never makes such a line, so someone made it on purpose";
        return {.line = in + what, .lineHint = "; the agreement must start again",
                .box = capitalised(what) + ".\n\nThe agreement has ended. Start again, and compare the fingerprints "
                       "before you use the key."};
    }
    case Error::Kind::AgreeDigitsDiffer:
        return {.line = "these are not the digits of this key",
                .lineHint = "; type the eight that the other side reads aloud, not your own; if you heard them "
                            "right, someone changed a line on the way: give up (Ctrl+D) and start again",
                .box = "These are not the digits of this key.\n\nType the eight digits that the other side reads "
                       "aloud, not your own. If you heard them right, someone changed a line on the way: do not "
                       "save this key, and start again."};
    case Error::Kind::AgreeDigitsUnreadable:
        return {.line = "that is not eight hexadecimal digits",
                .lineHint = "; type the eight digits (0-9, A-F) that the other side reads aloud",
                .box = "Type the eight digits (0 to 9 and A to F) that the other side reads aloud."};
    case Error::Kind::AgreeGivenUp:
        return {.line = "the agreement was given up before the " + lineName(error.expectedLine) +
                        " came, so no key file was written",
                .box = "The agreement was given up."};
    case Error::Kind::AgreeNotCompared:
        return {.line = "the digits were not compared, so no key file was written",
                .lineHint = " (--no-compare writes it without comparing)",
                .box = "The digits were not compared, so the key was not saved."};
    case Error::Kind::RandomSourceFailed:
        return {.line = "the system's random source failed: " + reason,
                .box = "No key could be made: the system's random source failed (" + reason + ")."};
    }
    return {.line = "unknown error", .box = "unknown error"};
}

std::string systemReason(int osError) {
    return osError != 0 ? std::string(std::strerror(osError)) : std::string("unknown error");
}

std::string describe(const Error& error) {
    return messageFor(error).line;
}

} // namespace tarvex
