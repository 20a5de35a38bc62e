// SPDX-License-Identifier: GPL-3.0-or-later

#include "agree_command.h"

#include "files/file_io.h"
#include "messages/cli_messages.h"

#include <unistd.h>

namespace tarvex::cli {
namespace {

using messages::AgreementStep;

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
    if (int failure = files::writeAll(out_, text); failure != 0)
        return Error{.kind = Error::Kind::FileWriteFailed, .path = kStandardOutputName, .osError = failure};
    return Done{};
}

void AgreeCommand::tell(std::string_view text) const {
    (void)files::writeAll(err_, text);
}

void AgreeCommand::refuse(const Error& verdict) const {
    tell(messages::cliErrorLine(verdict));
}

Status AgreeCommand::takeInTerminal(const LineTaker& take, AgreementLine expected, AgreementStep again) const {
    for (;;) {
        Result<std::optional<std::string>> paste = readPaste(in_);
        if (!paste) return paste.error();
        if (!*paste) return Error{.kind = Error::Kind::AgreeGivenUp, .expectedLine = expected};
        if (onlyWhiteSpace(**paste)) continue; // Enter alone
        Status taken = take(**paste);
        if (taken || !agree::mayTryAgain(taken.error())) return taken;
        refuse(taken.error());
        tell(messages::agreementGuidance(again));
    }
}

Status AgreeCommand::compareInTerminal(agree::Agreement& agreement) const {
    const bool inviter = agreement.role() == agree::Agreement::Role::Inviter;
    tell(messages::compareDigits(inviter, agreement.digitsToReadAloud()));
    for (;;) {
        Result<std::optional<std::string>> typed = readPaste(in_);
        if (!typed) return typed.error();
        if (!*typed) return Error{.kind = Error::Kind::AgreeNotCompared};
        if (onlyWhiteSpace(**typed)) continue;
        Status compared = agreement.compareHeard(**typed);
        if (compared) return compared;
        refuse(compared.error());
        tell(messages::agreementGuidance(AgreementStep::TypeDigitsAgain));
    }
}

Status AgreeCommand::run() {
    using Replace = files::AtomicFileWriter::Replace;
    const auto replace = request_.force ? Replace::Allowed : Replace::Refused;
    // Before any line goes out, so that no side is left with a key the other could not save.
    if (Status place = agree::checkKeyFilePlace(request_.keyFile, replace); !place) return place;
    const bool terminal = ::isatty(in_) == 1;
    const AgreementLine expected = expectedBy(request_.invite);

    std::optional<agree::Agreement> agreement;
    if (request_.invite) {
        agreement = agree::Agreement::invite();
        if (terminal) tell(messages::agreementGuidance(AgreementStep::SendInvitation));
        if (Status printed = print(agreement->invitationLine() + "\n"); !printed) return printed;
        const LineTaker takeAnswer = [&](std::string_view text) { return agreement->takeAnswer(text); };
        if (terminal) tell(messages::agreementGuidance(AgreementStep::PasteAnswer));
        Status taken = terminal ? takeInTerminal(takeAnswer, expected, AgreementStep::PasteAnswerAgain)
                                : takeFromStream(in_, takeAnswer);
        if (!taken) return taken;
    } else {
        const LineTaker answer = [&](std::string_view text) -> Status {
            Result<agree::Agreement> answered = agree::Agreement::answer(text);
            if (!answered) return answered.error();
            agreement = std::move(*answered);
            return Done{};
        };
        if (terminal) tell(messages::agreementGuidance(AgreementStep::PasteInvitation));
        Status taken = terminal ? takeInTerminal(answer, expected, AgreementStep::PasteInvitationAgain)
                                : takeFromStream(in_, answer);
        if (!taken) return taken;
        if (Status printed = print(agreement->answerLine() + "\n"); !printed) return printed;
    }
    if (Status printed = print(agreement->fingerprint() + "\n"); !printed) return printed;

    const bool compare = terminal && !request_.noCompare;
    if (terminal && !request_.invite) tell(messages::agreementGuidance(AgreementStep::SendAnswer));
    if (compare) {
        if (Status compared = compareInTerminal(*agreement); !compared) return compared;
    }
    if (Status saved = agreement->saveKeyFile(request_.keyFile, replace); !saved) return saved;
    tell(compare ? messages::keySaved(request_.keyFile)
                 : std::string(messages::agreementGuidance(AgreementStep::NotCompared)));
    return Done{};
}

} // namespace tarvex::cli
