// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_messages.h"

#include "messages.h"

#include "i18n/fill.h"
#include "i18n/marks.h"

namespace tarvex::messages {

std::string cliHelp() {
    // Section by section, so that a translation of one part outlives a change
    // to another.
    std::string help;
    /* TRANSLATORS: tarvex-cli --help. Keep the command, the option names and
       the words in capitals (COMMAND, KEYFILE, IN, OUT, FILE) as they are, and
       every line within 80 columns. */
    help += _("Usage: tarvex-cli COMMAND [OPTIONS]\n"
              "\n"
              "Encrypts and decrypts texts with a Text Tarvex key file, byte for byte as the\n"
              "Text Tarvex window does.\n");
    help += '\n';
    help += _("Commands:\n");
    /* TRANSLATORS: tarvex-cli --help: the first line of each command is what
       is typed; keep it, and the indents. */
    help += _("  create-key [--force] FILE\n"
              "      Write a new random key file, readable by its owner only. An existing\n"
              "      FILE is left alone unless --force is given.\n");
    help += _("  encrypt -k KEYFILE [-e utf-8|cp1252 | --sealed] [-o OUT] [IN]\n"
              "      Encrypt the message in IN (default: standard input). With --sealed,\n"
              "      seal its bytes as they are into one line that starts with tarvex1.\n");
    help += _("  decrypt -k KEYFILE [-e utf-8|cp1252] [--sealed] [-o OUT] [IN]\n"
              "      Decrypt the classic cipher text in IN (default: standard input),\n"
              "      which begins with \xC3\xB0, or open the sealed message in it, which\n"
              "      begins with tarvex1; white space and > quote markers before either\n"
              "      are passed over. Anything else is refused as no cipher text.\n");
    help += _("  fingerprint -k KEYFILE\n"
              "      Print the key's fingerprint, 16 hexadecimal digits such as\n"
              "      3F2A 9C01 77DE 0B45. Read it aloud to the other side, by phone or in\n"
              "      person: the same 16 digits mean the same key; a different fingerprint\n"
              "      means different keys, and nothing should be sent.\n");
    help += _("  invite [--force] [--no-compare] KEYFILE\n"
              "      Agree on a new key with the other side over chat or mail: print an\n"
              "      invitation line to send them, read the answer line they send back\n"
              "      from standard input, and print the key's fingerprint. Only one of you\n"
              "      invites; the other answers. In a terminal, KEYFILE is written once the\n"
              "      eight digits that the other side reads aloud match; without one, at\n"
              "      once, and the fingerprints must be compared before the key is used.\n");
    help += _("  answer [--force] [--no-compare] KEYFILE\n"
              "      Read the invitation from standard input, print the answer line to\n"
              "      send back and the key's fingerprint, and write KEYFILE as invite does.\n");
    help += '\n';
    help += _("Options:\n");
    /* TRANSLATORS: tarvex-cli --help: keep the option and its value as they
       are, and the descriptions starting in column 26. */
    help += _("  -k, --key KEYFILE      the key file that both sides hold\n");
    help += _("  -e, --encoding NAME    utf-8 (the default): UTF-8 text with LF line breaks;\n"
              "                         cp1252: every byte is one character code, as in the\n"
              "                         window's text files\n");
    help += _("      --sealed           encrypt: make a sealed message, which carries any\n"
              "                         bytes and cannot be read or changed unnoticed\n"
              "                         without the key; decrypt: refuse anything else\n");
    help += _("  -o, --output OUT       write to OUT instead of standard output; OUT is\n"
              "                         replaced only once everything has succeeded, and\n"
              "                         nothing of it is left behind when it fails or is\n"
              "                         interrupted\n");
    help += _("      --force            create-key, invite, answer: replace an existing\n"
              "                         KEYFILE\n");
    help += _("      --no-compare       invite, answer: write KEYFILE without comparing the\n"
              "                         digits, leaving the key unchecked until the\n"
              "                         fingerprints are compared\n");
    help += _("  -h, --help             show this help\n");
    help += _("      --version          show the version\n");
    help += '\n';
    help += _("IN may be '-' for standard input, OUT '-' for standard output (./- names a\n"
              "file of that name); a UTF-8 byte-order mark at the start of IN is\n"
              "skipped. KEYFILE must be a regular file. In a shared sticky folder such as\n"
              "/tmp, a link that another user owns is never written through.\n");
    help += '\n';
    /* TRANSLATORS: tarvex-cli --help: the exit codes are what scripts test. */
    help += _("Exit status: 0 on success, which for decrypt means that the message came\n"
              "back as it was sent, or that a classic cipher text was decrypted with the\n"
              "key given; 1 on failure; 2 on wrong usage.\n");
    help += '\n';
    help += _("Example:\n");
    help += "  tarvex-cli create-key friend.tvk\n"
            "  printf 'hi\\n' | tarvex-cli encrypt -k friend.tvk | tarvex-cli decrypt -k friend.tvk\n";
    return help;
}

std::string cliVersion(std::string_view version) {
    // What scripts read: the same in every language.
    return i18n::fill("tarvex-cli {version}\n", {{"version", version}});
}

std::string cliErrorLine(const Error& error) {
    return "tarvex-cli: " + messageFor(error).line + "\n";
}

std::string cliUsageErrorLine(std::string_view usageError) {
    /* TRANSLATORS: {error} is one of tarvex-cli's usage errors, which begin in
       lower case. */
    return "tarvex-cli: " + i18n::fill(_("{error} (see 'tarvex-cli --help')"), {{"error", usageError}}) + "\n";
}

std::string_view cliOutOfMemory() {
    /* TRANSLATORS: keep "tarvex-cli: " at the start and the line feed at the end. */
    return i18n::textInPlace(N_("tarvex-cli: out of memory: the system granted too little for this input\n"));
}

std::string noCommand() {
    return _("no command given");
}

std::string unknownCommand(std::string_view argument) {
    return i18n::fill(_("unknown command '{command}'"), {{"command", escapedForMessage(argument)}});
}

std::string unknownOption(std::string_view option, std::string_view command) {
    /* TRANSLATORS: {command} is a command of tarvex-cli (encrypt, invite...). */
    return i18n::fill(_("unknown option '{option}' for {command}"),
                      {{"option", escapedForMessage(option)}, {"command", command}});
}

std::string optionNeedsValue(std::string_view longOption) {
    return i18n::fill(_("option '{option}' needs a value"), {{"option", longOption}});
}

std::string optionTakesNoValue(std::string_view longOption) {
    return i18n::fill(_("option '{option}' takes no value"), {{"option", longOption}});
}

std::string oneKeyFileOnly(std::string_view command, std::string_view argument) {
    /* TRANSLATORS: {command} is a command of tarvex-cli (create-key, fingerprint). */
    return i18n::fill(_("{command} takes one key file, not also '{file}'"),
                      {{"command", command}, {"file", escapedForMessage(argument)}});
}

std::string oneInputOnly(std::string_view command, std::string_view argument) {
    /* TRANSLATORS: {command} is a command of tarvex-cli (encrypt, decrypt). */
    return i18n::fill(_("{command} takes one input file, not also '{file}'"),
                      {{"command", command}, {"file", escapedForMessage(argument)}});
}

std::string unknownEncoding(std::string_view argument) {
    return i18n::fill(_("unknown encoding '{encoding}' (use utf-8 or cp1252)"),
                      {{"encoding", escapedForMessage(argument)}});
}

std::string encodingWithSealed() {
    return _("--encoding does not apply to --sealed");
}

std::string keyFileNeeded(std::string_view command) {
    /* TRANSLATORS: {command} is a command of tarvex-cli (encrypt, decrypt, fingerprint). */
    return i18n::fill(_("{command} needs a key file: -k KEYFILE"), {{"command", command}});
}

std::string keyFileToWriteNeeded(std::string_view command) {
    /* TRANSLATORS: {command} is a command of tarvex-cli (create-key, invite, answer). */
    return i18n::fill(_("{command} needs the name of the key file to write"), {{"command", command}});
}

std::string agreementGuidance(AgreementStep step) {
    switch (step) {
    case AgreementStep::SendInvitation:
        /* TRANSLATORS: tarvex-cli invite, in a terminal; the invitation line follows. */
        return _("Send the invitation below to the other side, by chat or mail: it is public. Only one of\n"
                 "you invites; the other runs 'tarvex-cli answer'.\n");
    case AgreementStep::PasteAnswer: return _("Paste the answer they send back, then press Enter:\n");
    case AgreementStep::PasteAnswerAgain: return _("Paste the answer again, then press Enter:\n");
    case AgreementStep::PasteInvitation: return _("Paste the invitation that the other side sent you, then press Enter:\n");
    case AgreementStep::PasteInvitationAgain: return _("Paste the invitation again, then press Enter:\n");
    case AgreementStep::SendAnswer: return _("Send the answer above back to the other side: it is public.\n");
    case AgreementStep::TypeDigitsAgain: return _("Type the eight digits that the other side reads to you:\n");
    case AgreementStep::NotCompared:
        /* TRANSLATORS: keep "tarvex-cli: " at the start. */
        return _("tarvex-cli: the key file was written without comparing the fingerprints: until you and the\n"
                 "other side have compared them by voice or in person, nothing shows that nobody changed a line\n"
                 "on the way; compare them before you use the key\n");
    }
    return {};
}

std::string compareDigits(bool inviter, std::string_view digits) {
    // The inviter reads the last eight and hears the first; the answerer the other way round.
    /* TRANSLATORS: {digits} are eight of the fingerprint's, such as 77DE 0B45. */
    const char* format = inviter ? N_("Now compare the fingerprint with the other side by voice or in person, where "
                                      "nobody\n"
                                      "can change what you say:\n"
                                      "  read aloud the last eight digits: {digits}\n"
                                      "  type the first eight digits that the other side reads to you, then press "
                                      "Enter:\n")
                                 : N_("Now compare the fingerprint with the other side by voice or in person, where "
                                      "nobody\n"
                                      "can change what you say:\n"
                                      "  read aloud the first eight digits: {digits}\n"
                                      "  type the last eight digits that the other side reads to you, then press "
                                      "Enter:\n");
    return i18n::fill(i18n::text(format), {{"digits", digits}});
}

std::string keySaved(std::string_view path) {
    return i18n::fill(_("The digits match. The key is saved in '{path}'.\n"), {{"path", escapedForMessage(path)}});
}

} // namespace tarvex::messages
