// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli_app.h"

#include "agree_command.h"
#include "create_key_command.h"
#include "fingerprint_command.h"
#include "transform_command.h"

#include "files/file_io.h"
#include "messages/messages.h"
#include "cipher/secure_uniform_source.h"

#include <memory>
#include <new>
#include <vector>
#include <unistd.h>

namespace tarvex::cli {
namespace {

constexpr const char* kHelp =
    "Usage: tarvex-cli COMMAND [OPTIONS]\n"
    "\n"
    "Encrypts and decrypts texts with a Text Tarvex key file, byte for byte as the\n"
    "Text Tarvex window does.\n"
    "\n"
    "Commands:\n"
    "  create-key [--force] FILE\n"
    "      Write a new random key file, readable by its owner only. An existing\n"
    "      FILE is left alone unless --force is given.\n"
    "  encrypt -k KEYFILE [-e utf-8|cp1252 | --sealed] [-o OUT] [IN]\n"
    "      Encrypt the message in IN (default: standard input). With --sealed,\n"
    "      seal its bytes as they are into one line that starts with tarvex1.\n"
    "  decrypt -k KEYFILE [-e utf-8|cp1252] [--sealed] [-o OUT] [IN]\n"
    "      Decrypt the classic cipher text in IN (default: standard input),\n"
    "      which begins with \xC3\xB0, or open the sealed message in it, which\n"
    "      begins with tarvex1; white space and > quote markers before either\n"
    "      are passed over. Anything else is refused as no cipher text.\n"
    "  fingerprint -k KEYFILE\n"
    "      Print the key's fingerprint, 16 hexadecimal digits such as\n"
    "      3F2A 9C01 77DE 0B45. Read it aloud to the other side, by phone or in\n"
    "      person: the same 16 digits mean the same key; a different fingerprint\n"
    "      means different keys, and nothing should be sent.\n"
    "  invite [--force] [--no-compare] KEYFILE\n"
    "      Agree on a new key with the other side over chat or mail: print an\n"
    "      invitation line to send them, read the answer line they send back\n"
    "      from standard input, and print the key's fingerprint. Only one of you\n"
    "      invites; the other answers. In a terminal, KEYFILE is written once the\n"
    "      eight digits that the other side reads aloud match; without one, at\n"
    "      once, and the fingerprints must be compared before the key is used.\n"
    "  answer [--force] [--no-compare] KEYFILE\n"
    "      Read the invitation from standard input, print the answer line to\n"
    "      send back and the key's fingerprint, and write KEYFILE as invite does.\n"
    "\n"
    "Options:\n"
    "  -k, --key KEYFILE      the key file that both sides hold\n"
    "  -e, --encoding NAME    utf-8 (the default): UTF-8 text with LF line breaks;\n"
    "                         cp1252: every byte is one character code, as in the\n"
    "                         window's text files\n"
    "      --sealed           encrypt: make a sealed message, which carries any\n"
    "                         bytes and cannot be read or changed unnoticed\n"
    "                         without the key; decrypt: refuse anything else\n"
    "  -o, --output OUT       write to OUT instead of standard output; OUT is\n"
    "                         replaced only once everything has succeeded, and\n"
    "                         nothing of it is left behind when it fails or is\n"
    "                         interrupted\n"
    "      --force            create-key, invite, answer: replace an existing\n"
    "                         KEYFILE\n"
    "      --no-compare       invite, answer: write KEYFILE without comparing the\n"
    "                         digits, leaving the key unchecked until the\n"
    "                         fingerprints are compared\n"
    "  -h, --help             show this help\n"
    "      --version          show the version\n"
    "\n"
    "IN may be '-' for standard input, OUT '-' for standard output (./- names a\n"
    "file of that name); a UTF-8 byte-order mark at the start of IN is\n"
    "skipped. KEYFILE must be a regular file. In a shared sticky folder such as\n"
    "/tmp, a link that another user owns is never written through.\n"
    "\n"
    "Exit status: 0 when the message came back as it was sent, or a classic\n"
    "cipher text was decrypted with the key given; 1 on failure; 2 on wrong\n"
    "usage.\n"
    "\n"
    "Example:\n"
    "  tarvex-cli create-key friend.tvk\n"
    "  printf 'hi\\n' | tarvex-cli encrypt -k friend.tvk | tarvex-cli decrypt -k friend.tvk\n";

void printTo(int fd, const std::string& text) {
    (void)writeAll(fd, text);
}

int outOfMemory() {
    // Without building a string: there may be no memory for one.
    (void)writeAll(STDERR_FILENO, "tarvex-cli: out of memory: the system granted too little for this input\n");
    return kExitFailure;
}

void complain(const std::string& message) {
    printTo(STDERR_FILENO, "tarvex-cli: " + message + "\n");
}

int runCommand(Command& command) {
    Status status = command.run();
    if (status) return kExitSuccess;
    const ErrorMessage message = messageFor(status.error());
    complain(message.line + message.lineHint);
    return kExitFailure;
}

} // namespace

int runCli(int argc, char** argv) {
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        return runCli(args);
    } catch (const std::bad_alloc&) {
        return outOfMemory();
    }
}

int runCli(std::span<const std::string> args) try {
    Request request = parseCommandLine(args);
    if (auto* usage = std::get_if<UsageError>(&request)) {
        complain(usage->message + " (see 'tarvex-cli --help')");
        return kExitUsage;
    }
    if (std::holds_alternative<HelpRequest>(request)) {
        printTo(STDOUT_FILENO, kHelp);
        return kExitSuccess;
    }
    if (std::holds_alternative<VersionRequest>(request)) {
        printTo(STDOUT_FILENO, std::string("tarvex-cli ") + TARVEX_VERSION + "\n");
        return kExitSuccess;
    }
    if (auto* createKey = std::get_if<CreateKeyRequest>(&request)) {
        SecureUniformSource source;
        SystemTimeOfDayClock clock;
        CreateKeyCommand command(*createKey, source, clock);
        return runCommand(command);
    }
    if (auto* agree = std::get_if<AgreeRequest>(&request)) {
        AgreeCommand command(*agree, STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO);
        return runCommand(command);
    }
    if (auto* fingerprint = std::get_if<FingerprintRequest>(&request)) {
        FingerprintCommand command(*fingerprint);
        return runCommand(command);
    }
    TransformCommand command(std::get<TransformRequest>(request));
    return runCommand(command);
} catch (const std::bad_alloc&) {
    // Everything the command held, a temporary file included, is gone by now.
    return outOfMemory();
}

} // namespace tarvex::cli
