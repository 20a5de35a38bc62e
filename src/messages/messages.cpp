// SPDX-License-Identifier: GPL-3.0-or-later

#include "messages.h"

#include "i18n/fill.h"
#include "i18n/marks.h"
#include "seal/token_length.h"
#include "text/charset.h"
#include "text/character_names.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

// Every message is a whole format in the catalogue, its values in named
// places, so that a translation can put them where its grammar wants them.
// Where the wording depends on a fact (which line of an agreement, which kind
// of file), each case has a format of its own: the English nouns are never
// put into sentences of another language.
namespace tarvex::messages {
namespace {

using i18n::fill;

std::string number(std::uint64_t value) {
    return std::to_string(value);
}

// A file's name in a message, as it was given.
std::string inQuotes(std::string_view name) {
    /* TRANSLATORS: a file name in a message, in the quotation marks of your
       language ({file} is the name). */
    return fill(_("'{file}'"), {{"file", name}});
}

// A file's name fit for a one-line message; the standard streams by their names.
std::string quoted(const std::string& path) {
    /* TRANSLATORS: stands for a file name ({path}) in tarvex-cli's messages. */
    if (path == kStandardInputName) return _("standard input");
    /* TRANSLATORS: stands for a file name ({path}) in tarvex-cli's messages. */
    if (path == kStandardOutputName) return _("standard output");
    return inQuotes(escapedForMessage(path));
}

// A fault inside a text, naming the text when the caller knows it.
std::string inText(const Error& error, const std::string& fault) {
    if (error.path.empty()) return fault;
    /* TRANSLATORS: tarvex-cli's line for a fault inside a file: {path} names the
       file ('in.txt', or standard input), {fault} is one of the faults of a
       text, which begin in lower case. */
    return fill(_("in {path}, {fault}"), {{"path", quoted(error.path)}, {"fault", fault}});
}

bool answer(AgreementLine line) {
    return line == AgreementLine::Answer;
}

// Codes 253 to 255 cannot be encrypted with any key: every step takes them
// past 255, and no step reads back as themselves.
bool noKeyEncrypts(std::uint32_t code) {
    return code >= 253;
}

std::string notRegularFile(std::uint32_t typeBits) {
    switch (typeBits) {
    case S_IFIFO: return _("cannot use {path}: it is a pipe (FIFO), not a regular file");
    case S_IFCHR:
    case S_IFBLK: return _("cannot use {path}: it is a device, not a regular file");
    case S_IFSOCK: return _("cannot use {path}: it is a socket, not a regular file");
    case S_IFDIR: return _("cannot use {path}: it is a folder, not a regular file");
    default: return _("cannot use {path}: it is of a special kind, not a regular file");
    }
}

struct Facts {
    std::string path;      // the file's name, quoted, for tarvex-cli
    std::string file;      // the same in plain quotes, for the window
    std::string reason;    // the system's words
    std::string character; // the character at fault, named
    std::string position;
};

ErrorMessage fileMessage(const Error& error, const Facts& facts) {
    const i18n::Placeholder path{"path", facts.path};
    const i18n::Placeholder file{"file", facts.file};
    const i18n::Placeholder reason{"reason", facts.reason};
    switch (error.kind) {
    case Error::Kind::FileUnreadable:
        return {.line = fill(_("cannot read {path}: {reason}"), {path, reason}),
                .box = fill(_("The key file {file} cannot be read: {reason}.\n\nLoad the key file again, or choose "
                              "another one."),
                            {file, reason})};
    case Error::Kind::FileTooLarge:
        return {.line = fill(_("cannot read {path}: it is larger than {mebibytes} MiB"),
                             {path, {"mebibytes", number(error.limit / (1024 * 1024))}}),
                .box = fill(_("The file {file} is far too large to be a key file.\n\nLoad the key file that you share "
                              "with the other side."),
                            {file})};
    case Error::Kind::FileWriteFailed:
        return {.line = fill(_("cannot write {path}: {reason}"), {path, reason}),
                .box = fill(_("The key file {file} could not be written: {reason}.\n\nChoose a folder where you may "
                              "write, and try again."),
                            {file, reason})};
    case Error::Kind::FileExists:
        return {.line = fill(_("{path} already exists (use --force to replace it)"), {path}),
                .box = fill(_("The key file {file} already exists."), {file})};
    case Error::Kind::NoKeyNumber:
        return {.line = fill(_("the key file {path} holds no key: it is empty or has only empty lines"), {path}),
                .box = fill(_("The key file {file} holds no key: it is empty or has only empty lines.\n\nLoad the key "
                              "file that you share with the other side, or create a new one."),
                            {file})};
    case Error::Kind::NotRegularFile:
        return {.line = fill(notRegularFile(error.fileType), {path}),
                .box = fill(_("The file {file} is not a regular file but a device, a pipe or a socket.\n\nChoose a key "
                              "file in a folder."),
                            {file})};
    case Error::Kind::KeyHidesNothing:
        return {.line = fill(_("{path} does not look like a key: more than half of its key numbers are 0, so the "
                               "cipher text would show the message; use the key file that you share, or create a new "
                               "one"),
                             {path}),
                .box = fill(_("The file {file} does not look like a key: more than half of its key numbers are 0, so "
                              "the cipher text would show most of the message.\n\nLoad the key file that you share "
                              "with the other side, or create a new one."),
                            {file})};
    case Error::Kind::SealKeyTooShort: {
        const std::string length = number(error.length);
        const std::string neededText = number(error.limit);
        const i18n::Placeholder needed{"needed", neededText};
        /* TRANSLATORS: the form is chosen by {length}; {needed} is always more than 1. */
        return {.line = fill(P_("{path} is too short to seal with: it has {length} key number, a sealing key needs "
                                "{needed}; create a new key",
                                "{path} is too short to seal with: it has {length} key numbers, a sealing key needs "
                                "{needed}; create a new key",
                                error.length),
                             {path, {"length", length}, needed}),
                /* TRANSLATORS: the form is chosen by {length}; {needed} is always more than 1. */
                .box = fill(P_("The key file {file} is too short to seal with: it has {length} key number, and sealing "
                               "needs {needed}.\n\nCreate a new key and give a copy to the other side.",
                               "The key file {file} is too short to seal with: it has {length} key numbers, and "
                               "sealing needs {needed}.\n\nCreate a new key and give a copy to the other side.",
                               error.length),
                            {file, {"length", length}, needed})};
    }
    case Error::Kind::SealKeyTooWeak:
        return {.line = fill(_("{path} is too weak to seal with: more than half of its key numbers are 0; use the key "
                               "file that you share, or create a new one"),
                             {path}),
                .box = fill(_("The key file {file} is too weak to seal with: more than half of its key numbers are "
                              "0.\n\nLoad the key file that you share with the other side, or create a new one."),
                            {file})};
    case Error::Kind::NoCipherText:
        return {.line = fill(_("{path} holds no cipher text: it is empty"), {path}),
                .box = _("There is no cipher text to decrypt.")};
    case Error::Kind::OnlyLineBreaks:
        return {.line = fill(_("{path} holds no cipher text: it has only line breaks"), {path}),
                .box = _("There is no cipher text to decrypt.")};
    case Error::Kind::OnlyWhiteSpace:
        return {.line = fill(_("{path} holds no cipher text: it has only white space"), {path}),
                .box = _("There is no cipher text to decrypt.")};
    case Error::Kind::NotSealed:
        return {.line = fill(_("{path} holds no sealed message: it does not begin with tarvex1"), {path}),
                .box = _("The text is no sealed message: it does not begin with tarvex1.")};
    case Error::Kind::NotCipherText: {
        const i18n::Placeholder character{"character", facts.character};
        return {.line = fill(_("{path} holds no cipher text: it begins with {character}, not with \xC3\xB0 or "
                               "tarvex1"),
                             {path, character}),
                .box = fill(_("The text is no cipher text: it begins with {character}, not with \xC3\xB0 or "
                              "tarvex1.\n\nOnly a text that Text Tarvex encrypted or sealed can be decrypted."),
                            {character})};
    }
    case Error::Kind::LooksDamagedSealed:
        return {.line = fill(_("{path} looks like a damaged sealed message: it does not begin with tarvex1; it was "
                               "changed or cut on its way, so ask the sender to send it again"),
                             {path}),
                .box = _("The text looks like a sealed message that was damaged on its way: it does not begin with "
                         "tarvex1.\n\nAsk the sender to send it again, whole.")};
    case Error::Kind::RandomSourceFailed:
        return {.line = fill(_("the system's random source failed: {reason}"), {reason}),
                .box = fill(_("No key could be made: the system's random source failed ({reason})."), {reason})};
    default: return {};
    }
}

// Faults inside a text: its line names the text where it is known.
ErrorMessage textMessage(const Error& error, const Facts& facts) {
    const i18n::Placeholder character{"character", facts.character};
    const i18n::Placeholder position{"position", facts.position};
    const auto line = [&](const char* format, std::initializer_list<i18n::Placeholder> values) {
        return inText(error, fill(i18n::text(format), values));
    };
    const auto box = [&](const char* format, std::initializer_list<i18n::Placeholder> values) {
        return fill(i18n::text(format), values);
    };
    switch (error.kind) {
    case Error::Kind::CharacterNotInSet:
        return {.line = line(N_("the character {character} at position {position} has no code in the Windows-1252 "
                                "character set"),
                             {character, position}),
                .box = box(N_("The character {character} at position {position} cannot be encrypted: it is not in the "
                              "Windows-1252 character set.\n\nReplace or remove it, then try again."),
                           {character, position})};
    case Error::Kind::InvalidUtf8: {
        std::string text = line(N_("the text is not valid UTF-8 at byte {position}"), {position});
        return {.line = text, .box = text};
    }
    case Error::Kind::EncryptedCodeTooLarge:
        if (noKeyEncrypts(error.code)) {
            return {.line = line(N_("the character {character} at position {position} cannot be encrypted with this "
                                    "key: its code would exceed 255; no key can encrypt it, so remove or replace it"),
                                 {character, position}),
                    .box = box(N_("The character {character} at position {position} cannot be encrypted with this "
                                  "key: its code would exceed 255.\n\nNo key can encrypt it: remove or replace it, "
                                  "then encrypt again."),
                               {character, position})};
        }
        return {.line = line(N_("the character {character} at position {position} cannot be encrypted with this key: "
                                "its code would exceed 255; remove or replace it, or use another key"),
                             {character, position}),
                .box = box(N_("The character {character} at position {position} cannot be encrypted with this key: its "
                              "code would exceed 255.\n\nRemove or replace it, or use another key, then encrypt "
                              "again."),
                           {character, position})};
    case Error::Kind::EncryptedCodeReserved:
        if (noKeyEncrypts(error.code)) {
            return {.line = line(N_("the character {character} at position {position} cannot be encrypted with this "
                                    "key: its cipher code would read back as a tab or a line break; no key can encrypt "
                                    "it, so remove or replace it"),
                                 {character, position}),
                    .box = box(N_("The character {character} at position {position} cannot be encrypted with this "
                                  "key: its cipher code would be read back as a tab or a line break.\n\nNo key can "
                                  "encrypt it: remove or replace it, then encrypt again."),
                               {character, position})};
        }
        return {.line = line(N_("the character {character} at position {position} cannot be encrypted with this key: "
                                "its cipher code would read back as a tab or a line break; remove or replace it, or "
                                "use another key"),
                             {character, position}),
                .box = box(N_("The character {character} at position {position} cannot be encrypted with this key: its "
                              "cipher code would be read back as a tab or a line break.\n\nRemove or replace it, or "
                              "use another key, then encrypt again."),
                           {character, position})};
    case Error::Kind::ControlCharacter:
        return {.line = line(N_("the control character {character} at position {position} cannot be encrypted: it "
                                "would not come back as itself; remove it"),
                             {character, position}),
                .box = box(N_("The control character {character} at position {position} cannot be encrypted: it would "
                              "not come back as itself.\n\nRemove it, then encrypt again."),
                           {character, position})};
    case Error::Kind::DecryptedCodeNegative:
        return {.line = line(N_("the character {character} at position {position} cannot be decrypted with this key: "
                                "its code would fall below 0"),
                             {character, position}),
                .box = box(N_("The character {character} at position {position} cannot be decrypted with this key: its "
                              "code would fall below 0.\n\nThe cipher text was probably broken on its way, for "
                              "instance by a line break that a mail program inserted. Remove such line breaks and "
                              "decrypt again, and check that the right key is loaded."),
                           {character, position})};
    case Error::Kind::NotClassicCipherText:
        return {.line = line(N_("the character {character} at position {position} cannot be part of a cipher text: it "
                                "is not in the Windows-1252 character set"),
                             {character, position}),
                .box = box(N_("The character {character} at position {position} cannot be part of a cipher text: it is "
                              "not in the Windows-1252 character set.\n\nThe text is no cipher text, or it was changed "
                              "on its way. Ask the sender to send it again."),
                           {character, position})};
    case Error::Kind::SealedDamaged:
        if (error.position == 0) {
            return {.line = line(N_("the sealed message is damaged; it was changed or cut on its way, so ask the "
                                    "sender to send it again"),
                                 {}),
                    .box = box(N_("The sealed message is damaged.\n\nIt was changed or cut on its way. Ask the sender "
                                  "to send it again, whole."),
                               {})};
        }
        return {.line = line(N_("the sealed message is damaged: the character {character} at position {position} "
                                "cannot be part of it; it was changed or cut on its way, so ask the sender to send it "
                                "again"),
                             {character, position}),
                .box = box(N_("The sealed message is damaged: the character {character} at position {position} cannot "
                              "be part of it.\n\nIt was changed or cut on its way. Ask the sender to send it again, "
                              "whole."),
                           {character, position})};
    case Error::Kind::SealedOtherKey: {
        const i18n::Placeholder fingerprint{"fingerprint", error.fingerprint};
        return {.line = line(N_("the sealed message was made with another key (or changed on purpose); the key in "
                                "use has the fingerprint {fingerprint}"),
                             {fingerprint}),
                .box = box(N_("The sealed message was made with another key, or changed on purpose.\n\nThe key in use "
                              "has the fingerprint {fingerprint}. Load the key file that you share with the sender."),
                           {fingerprint})};
    }
    case Error::Kind::SealedNewerVersion:
        return {.line = line(N_("the sealed message was made by a newer version of Text Tarvex; update to read it"), {}),
                .box = box(N_("The sealed message was made by a newer version of Text Tarvex.\n\nUpdate Text Tarvex to "
                              "read it."),
                           {})};
    case Error::Kind::SealedNotText:
        return {.line = line(N_("the sealed message holds no UTF-8 text: it is a file; open it with tarvex-cli"), {}),
                .box = box(N_("The sealed message was opened, but it holds no text: its content is not UTF-8, so it "
                              "is a file that was sealed with tarvex-cli.\n\nOpen it with tarvex-cli into a file: "
                              "tarvex-cli decrypt --sealed -k KEYFILE -o FILE. The text was not changed."),
                           {})};
    case Error::Kind::SealedTooLongForIcq: {
        const std::string lengthText = number(error.length);
        const std::string overText = number(error.length - error.limit);
        const std::string limitText = number(error.limit);
        const i18n::Placeholder length{"length", lengthText};
        const i18n::Placeholder over{"over", overText};
        const i18n::Placeholder limit{"limit", limitText};
        const std::uint64_t payload = seal::largestPayloadWithin(error.limit);
        /* TRANSLATORS: the form is chosen by {length}; {over} and {limit} are
           characters too. */
        return {.line = fill(P_("the sealed message would be {length} character long, {over} more than the {limit} of "
                                "an ICQ message",
                                "the sealed message would be {length} characters long, {over} more than the {limit} "
                                "of an ICQ message",
                                error.length),
                             {length, over, limit}),
                /* TRANSLATORS: the form is chosen by {length}; {over} and {limit}
                   are characters too. The next paragraph follows it. */
                .box = fill(P_("The sealed message would be {length} character long, {over} more than the {limit} that "
                               "the text area takes in ICQ mode, and its end would be lost. The text was not changed.",
                               "The sealed message would be {length} characters long, {over} more than the {limit} "
                               "that the text area takes in ICQ mode, and its end would be lost. The text was not "
                               "changed.",
                               error.length),
                            {length, over, limit}) +
                       "\n\n" +
                       fill(P_("A message of up to {payload} byte of UTF-8 (as many letters of the English alphabet, "
                               "about half as many of most other scripts) seals within the limit. Shorten the message, "
                               "or choose E-Mail mode (Ctrl+M), which has no limit, and seal again.",
                               "A message of up to {payload} bytes of UTF-8 (as many letters of the English alphabet, "
                               "about half as many of most other scripts) seals within the limit. Shorten the message, "
                               "or choose E-Mail mode (Ctrl+M), which has no limit, and seal again.",
                               payload),
                            {{"payload", number(payload)}})};
    }
    default: return {};
    }
}

// The verdicts on a key agreement's lines. The invitation and the answer each
// have their own sentences: nouns differ in gender from one language to another.
ErrorMessage agreementMessage(const Error& error, const Facts& facts) {
    const i18n::Placeholder character{"character", facts.character};
    const i18n::Placeholder position{"position", facts.position};
    const bool found = answer(error.foundLine);
    const bool expected = answer(error.expectedLine);
    const auto line = [&](bool ofAnswer, const char* invitation, const char* answerFormat,
                          std::initializer_list<i18n::Placeholder> values = {}) {
        return inText(error, fill(i18n::text(ofAnswer ? answerFormat : invitation), values));
    };
    const auto box = [&](bool ofAnswer, const char* invitation, const char* answerFormat,
                         std::initializer_list<i18n::Placeholder> values = {}) {
        return fill(i18n::text(ofAnswer ? answerFormat : invitation), values);
    };
    // Where no line is found, the text is named: a file, standard input, or
    // the text pasted into a terminal.
    /* TRANSLATORS: stands for {path} in tarvex-cli's messages about a key
       agreement, for a text pasted into the terminal. */
    const std::string holder = error.path.empty() ? _("the text") : quoted(error.path);
    const i18n::Placeholder path{"path", holder};
    switch (error.kind) {
    case Error::Kind::AgreeLineDamaged:
        if (error.position == 0) {
            return {.line = line(found,
                                 N_("the invitation is damaged: its check value does not match; copy it again, whole, "
                                    "or ask the other side to send it again"),
                                 N_("the answer is damaged: its check value does not match; copy it again, whole, or "
                                    "ask the other side to send it again")),
                    .box = box(found,
                               N_("The invitation is damaged: its check value does not match.\n\nCopy it again, whole, "
                                  "or ask the other side to send it again."),
                               N_("The answer is damaged: its check value does not match.\n\nCopy it again, whole, or "
                                  "ask the other side to send it again."))};
        }
        return {.line = line(found,
                             N_("the invitation is damaged: the character {character} at position {position} cannot "
                                "be part of it; copy it again, whole, or ask the other side to send it again"),
                             N_("the answer is damaged: the character {character} at position {position} cannot be "
                                "part of it; copy it again, whole, or ask the other side to send it again"),
                             {character, position}),
                .box = box(found,
                           N_("The invitation is damaged: the character {character} at position {position} cannot be "
                              "part of it.\n\nCopy it again, whole, or ask the other side to send it again."),
                           N_("The answer is damaged: the character {character} at position {position} cannot be part "
                              "of it.\n\nCopy it again, whole, or ask the other side to send it again."),
                           {character, position})};
    case Error::Kind::AgreeLineCut:
        return {.line = line(found,
                             N_("the invitation is cut: the text ends before the line is whole; copy it again, whole, "
                                "or ask the other side to send it again"),
                             N_("the answer is cut: the text ends before the line is whole; copy it again, whole, or "
                                "ask the other side to send it again")),
                .box = box(found,
                           N_("The invitation is cut: the text ends before the line is whole.\n\nCopy it again, whole, "
                              "or ask the other side to send it again."),
                           N_("The answer is cut: the text ends before the line is whole.\n\nCopy it again, whole, or "
                              "ask the other side to send it again."))};
    case Error::Kind::AgreeNewerVersion:
        return {.line = line(found,
                             N_("the invitation was made by a newer version of Text Tarvex; update Text Tarvex to "
                                "agree with the other side"),
                             N_("the answer was made by a newer version of Text Tarvex; update Text Tarvex to agree "
                                "with the other side")),
                .box = box(found,
                           N_("The invitation was made by a newer version of Text Tarvex.\n\nUpdate Text Tarvex to "
                              "agree on a key with the other side."),
                           N_("The answer was made by a newer version of Text Tarvex.\n\nUpdate Text Tarvex to agree "
                              "on a key with the other side."))};
    case Error::Kind::AgreeWrongKind:
        // The one found is not the one asked for.
        return {.line = line(!(error.foundLine == AgreementLine::Invitation),
                             N_("this is an invitation, not the answer to yours; only one of you invites: the other "
                                "answers the invitation with 'tarvex-cli answer' and sends the answer back"),
                             N_("this is an answer, not an invitation; an answer goes back to the side that made the "
                                "invitation (tarvex-cli invite); here, give the invitation that the other side sent")),
                .box = box(!(error.foundLine == AgreementLine::Invitation),
                           N_("This is an invitation, not the answer to yours.\n\nOnly one of you invites; the other "
                              "answers. Paste the answer that the other side sends back."),
                           N_("This is an answer, not an invitation.\n\nPaste the invitation that the other side sent. "
                              "An answer is read by the agreement that made its invitation."))};
    case Error::Kind::AgreeOwnInvitation:
        return {.line = _("this is your own invitation; send it to the other side, and give the answer they send back"),
                .box = _("This is your own invitation.\n\nSend it to the other side, and paste here the answer they "
                         "send back.")};
    // The window's one field takes either line: its box names both.
    case Error::Kind::AgreeNoLine:
        return {.line = fill(i18n::text(expected ? N_("{path} holds no answer: no line begins with tarvexanswer1; give "
                                                      "the answer that the other side sent")
                                                 : N_("{path} holds no invitation: no line begins with tarvexinvite1; "
                                                      "give the invitation that the other side sent")),
                             {path}),
                .box = _("The text holds no invitation or answer: no line begins with tarvexinvite1 or "
                         "tarvexanswer1.\n\nPaste the invitation or answer that the other side sent.")};
    case Error::Kind::AgreeNothingGiven:
        return {.line = fill(i18n::text(expected ? N_("{path} holds no answer: it is empty; give the answer that the "
                                                      "other side sent")
                                                 : N_("{path} holds no invitation: it is empty; give the invitation "
                                                      "that the other side sent")),
                             {path}),
                .box = _("There is no invitation or answer.\n\nPaste the invitation or answer that the other side "
                         "sent.")};
    case Error::Kind::AgreeSealedGiven:
        return {.line = fill(i18n::text(expected ? N_("{path} holds a sealed message, not an answer; open it with "
                                                      "decrypt, and give the answer that the other side sent")
                                                 : N_("{path} holds a sealed message, not an invitation; open it with "
                                                      "decrypt, and give the invitation that the other side sent")),
                             {path}),
                .box = _("This is a sealed message, not an invitation or an answer.\n\nOpen it with Decrypt. Here, "
                         "paste the invitation or answer that the other side sent.")};
    case Error::Kind::AgreeOtherInvitation:
        return {.line = inText(error, _("the answer belongs to another invitation, not to this one; ask the other side "
                                        "to answer the invitation shown now")),
                .box = _("This answer belongs to another invitation, not to the one shown now.\n\nAsk the other side "
                         "to answer the invitation shown now, and paste their new answer.")};
    case Error::Kind::AgreeMadeOnPurpose:
        return {.line = line(found,
                             N_("the invitation carries a public half from which no key can be made; Text Tarvex "
                                "never makes such a line, so someone made it on purpose; the agreement must start "
                                "again"),
                             N_("the answer carries a public half from which no key can be made; Text Tarvex never "
                                "makes such a line, so someone made it on purpose; the agreement must start again")),
                .box = box(found,
                           N_("The invitation carries a public half from which no key can be made; Text Tarvex never "
                              "makes such a line, so someone made it on purpose.\n\nThe agreement has ended. Start "
                              "again, and compare the fingerprints before you use the key."),
                           N_("The answer carries a public half from which no key can be made; Text Tarvex never "
                              "makes such a line, so someone made it on purpose.\n\nThe agreement has ended. Start "
                              "again, and compare the fingerprints before you use the key."))};
    case Error::Kind::AgreeDigitsDiffer:
        return {.line = _("these are not the digits of this key; type the eight that the other side reads aloud, not "
                          "your own; if you heard them right, someone changed a line on the way: give up (Ctrl+D) and "
                          "start again"),
                .box = _("These are not the digits of this key.\n\nType the eight digits that the other side reads "
                         "aloud, not your own. If you heard them right, someone changed a line on the way: do not save "
                         "this key, and start again.")};
    case Error::Kind::AgreeDigitsUnreadable:
        return {.line = _("that is not eight hexadecimal digits; type the eight digits (0-9, A-F) that the other side "
                          "reads aloud"),
                .box = _("Type the eight digits (0 to 9 and A to F) that the other side reads aloud.")};
    case Error::Kind::AgreeGivenUp:
        return {.line = i18n::text(expected ? N_("the agreement was given up before the answer came, so no key file "
                                                 "was written")
                                            : N_("the agreement was given up before the invitation came, so no key "
                                                 "file was written")),
                .box = _("The agreement was given up.")};
    case Error::Kind::AgreeNotCompared:
        return {.line = _("the digits were not compared, so no key file was written (--no-compare writes it without "
                          "comparing)"),
                .box = _("The digits were not compared, so the key was not saved.")};
    default: return {};
    }
}

} // namespace

std::string escapedForMessage(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    char escape[16];
    while (!text.empty()) {
        const auto [size, ch] = text::charset::firstUtf8Character(text);
        if (size > 0 && text::charset::showsAsItself(ch)) {
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
    using Kind = Error::Kind;
    Facts facts{.path = quoted(error.path),
                .file = inQuotes(error.path),
                .reason = systemReason(error.osError),
                .position = number(error.position)};
    switch (error.kind) {
    // A character of the text, named by itself.
    case Kind::CharacterNotInSet:
    case Kind::SealedDamaged:
    case Kind::NotClassicCipherText:
    case Kind::NotCipherText:
    case Kind::AgreeLineDamaged: facts.character = text::charset::describeCharacter(error.code); break;
    // A code of the character set.
    case Kind::EncryptedCodeTooLarge:
    case Kind::EncryptedCodeReserved:
    case Kind::ControlCharacter:
    case Kind::DecryptedCodeNegative:
        facts.character = text::charset::describeCode(static_cast<std::uint8_t>(error.code));
        break;
    default: break;
    }
    for (ErrorMessage (*words)(const Error&, const Facts&) : {fileMessage, textMessage, agreementMessage}) {
        ErrorMessage message = words(error, facts);
        if (!message.line.empty()) return message;
    }
    const std::string unknown = _("unknown error");
    return {.line = unknown, .box = unknown};
}

std::string systemReason(int osError) {
    // The system's own words come in the session's language from the C library.
    return osError != 0 ? std::string(std::strerror(osError)) : _("unknown error");
}

std::string describe(const Error& error) {
    return messageFor(error).line;
}

} // namespace tarvex::messages
