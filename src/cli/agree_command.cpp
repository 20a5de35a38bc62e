// SPDX-License-Identifier: GPL-3.0-or-later

#include "agree_command.h"

#include "files/file_io.h"
#include "messages/messages.h"

#include <unistd.h>

namespace tarvex::cli {
namespace {

// What a terminal user is told on standard error, step by step.
constexpr const char* kSendInvitation =
    "Send the invitation below to the other side, by chat or mail: it is public. Only one of\n"
    "you invites; the other runs 'tarvex-cli answer'.\n";
constexpr const char* kPasteAnswer = "Paste the answer they send back, then press Enter:\n";
constexpr const char* kPasteAnswerAgain = "Paste the answer again, then press Enter:\n";
constexpr const char* kPasteInvitation = "Paste the invitation that the other side sent you, then press Enter:\n";
constexpr const char* kPasteInvitationAgain = "Paste the invitation again, then press Enter:\n";
constexpr const char* kSendAnswer = "Send the answer above back to the other side: it is public.\n";
constexpr const char* kCompare =
    "Now compare the fingerprint with the other side by voice or in person, where nobody\n"
    "can change what you say:\n";
constexpr const char* kTypeDigitsAgain = "Type the eight digits that the other side reads to you:\n";
// Without a terminal, and with --no-compare: what the key is worth until the fingerprints are compared.
constexpr const char* kNotCompared =
    "tarvex-cli: the key file was written without comparing the fingerprints: until you and the\n"
    "other side have compared them by voice or in person, nothing shows that nobody changed a line\n"
    "on the way; compare them before you use the key\n";

AgreementLine expectedBy(bool invite) {
    return invite ? AgreementLine::Answer : AgreementLine::Invitation;
}

bool onlyWhiteSpace(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

} // namespace

AgreeCommand::AgreeCommand(AgreeRequest request, int in, int out, int err)
    : request_(std::move(request)), in_(in), out_(out), err_(err) {}

Status AgreeCommand::print(const std::string& text) const {
    if (int failure = writeAll(out_, text); failure != 0)
        return Error{.kind = Error::Kind::FileWriteFailed, .path = kStandardOutputName, .osError = failure};
    return Done{};
}

void AgreeCommand::tell(const std::string& text) const {
    (void)writeAll(err_, text);
}

void AgreeCommand::refuse(const Error& verdict) const {
    const ErrorMessage message = messageFor(verdict);
    tell("tarvex-cli: " + message.line + message.lineHint + "\n");
}

Status AgreeCommand::takeInTerminal(const LineTaker& take, AgreementLine expected, const std::string& prompt) const {
    for (;;) {
        Result<std::optional<std::string>> paste = readPaste(in_);
        if (!paste) return paste.error();
        if (!*paste) return Error{.kind = Error::Kind::AgreeGivenUp, .expectedLine = expected};
        if (onlyWhiteSpace(**paste)) continue; // Enter alone
        Status taken = take(**paste);
        if (taken || !agree::mayTryAgain(taken.error())) return taken;
        refuse(taken.error());
        tell(prompt);
    }
}

Status AgreeCommand::compareInTerminal(agree::Agreement& agreement) const {
    const bool inviter = agreement.role() == agree::Agreement::Role::Inviter;
    tell(std::string(kCompare) + "  read aloud the " + (inviter ? "last" : "first") + " eight digits: " +
         agreement.digitsToReadAloud() + "\n  type the " + (inviter ? "first" : "last") +
         " eight digits that the other side reads to you, then press Enter:\n");
    for (;;) {
        Result<std::optional<std::string>> typed = readPaste(in_);
        if (!typed) return typed.error();
        if (!*typed) return Error{.kind = Error::Kind::AgreeNotCompared};
        if (onlyWhiteSpace(**typed)) continue;
        Status compared = agreement.compareHeard(**typed);
        if (compared) return compared;
        refuse(compared.error());
        tell(kTypeDigitsAgain);
    }
}

Status AgreeCommand::run() {
    const auto replace = request_.force ? AtomicFileWriter::Replace::Allowed : AtomicFileWriter::Replace::Refused;
    // Before any line goes out, so that no side is left with a key the other could not save.
    if (Status place = agree::checkKeyFilePlace(request_.keyFile, replace); !place) return place;
    const bool terminal = ::isatty(in_) == 1;
    const AgreementLine expected = expectedBy(request_.invite);

    std::optional<agree::Agreement> agreement;
    if (request_.invite) {
        agreement = agree::Agreement::invite();
        if (terminal) tell(kSendInvitation);
        if (Status printed = print(agreement->invitationLine() + "\n"); !printed) return printed;
        const LineTaker takeAnswer = [&](std::string_view text) { return agreement->takeAnswer(text); };
        if (terminal) tell(kPasteAnswer);
        Status taken = terminal ? takeInTerminal(takeAnswer, expected, kPasteAnswerAgain)
                                : takeFromStream(in_, takeAnswer);
        if (!taken) return taken;
    } else {
        const LineTaker answer = [&](std::string_view text) -> Status {
            Result<agree::Agreement> answered = agree::Agreement::answer(text);
            if (!answered) return answered.error();
            agreement = std::move(*answered);
            return Done{};
        };
        if (terminal) tell(kPasteInvitation);
        Status taken = terminal ? takeInTerminal(answer, expected, kPasteInvitationAgain) : takeFromStream(in_, answer);
        if (!taken) return taken;
        if (Status printed = print(agreement->answerLine() + "\n"); !printed) return printed;
    }
    if (Status printed = print(agreement->fingerprint() + "\n"); !printed) return printed;

    const bool compare = terminal && !request_.noCompare;
    if (terminal && !request_.invite) tell(kSendAnswer);
    if (compare) {
        if (Status compared = compareInTerminal(*agreement); !compared) return compared;
    }
    if (Status saved = agreement->saveKeyFile(request_.keyFile, replace); !saved) return saved;
    if (compare) {
        tell("The digits match. The key is saved in '" + escapedForMessage(request_.keyFile) + "'.\n");
    } else {
        tell(kNotCompared);
    }
    return Done{};
}

} // namespace tarvex::cli
