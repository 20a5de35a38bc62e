// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/error.h"

#include <string>
#include <string_view>

// What tarvex-cli says, beyond the words of an Error (messages.h), in the
// session's language; what scripts read (the version) stays the same in all.
// Lines for standard error end with their line feed.
namespace tarvex::messages {

std::string cliHelp();
std::string cliVersion(std::string_view version);

// "tarvex-cli: " and the error's line with its hint.
std::string cliErrorLine(const Error& error);
// The same for a wrong command line, with the way to the help.
std::string cliUsageErrorLine(std::string_view usageError);
// Made without allocating: there may be no memory left for it (gettext then
// gives the English).
std::string_view cliOutOfMemory();

// Wrong command lines. `argument` and `option` are shown as the user typed
// them, escaped to stay on one line; `command` and `longOption` ("--key") are
// the program's own.
std::string noCommand();
std::string unknownCommand(std::string_view argument);
std::string unknownOption(std::string_view option, std::string_view command);
std::string optionNeedsValue(std::string_view longOption);
std::string optionTakesNoValue(std::string_view longOption);
std::string oneKeyFileOnly(std::string_view command, std::string_view argument);
std::string oneInputOnly(std::string_view command, std::string_view argument);
std::string unknownEncoding(std::string_view argument);
std::string encodingWithSealed();
std::string keyFileNeeded(std::string_view command);
std::string keyFileToWriteNeeded(std::string_view command);

// A key agreement in a terminal: what the user is told, step by step.
enum class AgreementStep {
    SendInvitation,
    PasteAnswer,
    PasteAnswerAgain,
    PasteInvitation,
    PasteInvitationAgain,
    SendAnswer,
    TypeDigitsAgain,
    // Without a terminal, and with --no-compare: what the key is worth until
    // the fingerprints are compared.
    NotCompared,
};
std::string agreementGuidance(AgreementStep step);
// Which digits to read aloud (`digits`) and which to type.
std::string compareDigits(bool inviter, std::string_view digits);
std::string keySaved(std::string_view path);

} // namespace tarvex::messages
