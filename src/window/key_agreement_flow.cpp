// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_agreement_flow.h"

#include "i18n/translate.h"
#include "messages/agreement_dialog_words.h"
#include "messages/messages.h"

namespace tarvex::window {

using agree::Agreement;

KeyAgreementFlow::KeyAgreementFlow() : agreement_(Agreement::invite()) {}

KeyAgreementFlow::Step KeyAgreementFlow::step() const {
    switch (agreement_.stage()) {
    case Agreement::Stage::AwaitingAnswer: return Step::Exchange;
    case Agreement::Stage::Agreed:
    case Agreement::Stage::Confirmed: return Step::Compare;
    case Agreement::Stage::Ended: break;
    }
    return Step::Ended;
}

void KeyAgreementFlow::show(const Error& verdict) {
    message_ = messages::messageFor(verdict).box;
    refused_ = true;
}

void KeyAgreementFlow::takeText(std::string_view text) {
    if (step() != Step::Exchange) return;
    message_.clear();
    refused_ = false;
    if (text.empty()) return;
    const Status taken = agreement_.takeLine(text);
    if (taken) return;
    Error verdict = taken.error();
    // The one field takes either line: where neither is found, name both.
    switch (verdict.kind) {
    case Error::Kind::AgreeNoLine:
    case Error::Kind::AgreeNothingGiven:
    case Error::Kind::AgreeSealedGiven: verdict.expectedLine = AgreementLine::None; break;
    default: break;
    }
    show(verdict);
}

bool KeyAgreementFlow::compare(std::string_view typed) {
    const Status heard = agreement_.compareHeard(typed);
    if (!heard) {
        show(heard.error());
        return false;
    }
    message_ = i18n::text(messages::agreement_words::kContext, messages::agreement_words::kDigitsMatch);
    refused_ = false;
    return true;
}

void KeyAgreementFlow::startAgain() {
    agreement_ = Agreement::invite();
    message_.clear();
    refused_ = false;
}

void KeyAgreementFlow::giveUp() {
    agreement_.giveUp();
}

std::string spelledDigits(std::string_view grouped) {
    std::string spoken;
    for (const char c : grouped) {
        if (c == ' ') {
            spoken += ',';
            continue;
        }
        if (!spoken.empty()) spoken += ' ';
        spoken += c;
    }
    return spoken;
}

} // namespace tarvex::window
