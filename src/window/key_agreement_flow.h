// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "agree/agreement.h"

#include <string>
#include <string_view>

namespace tarvex::window {

// The steps of the Agree On A Key dialog, free of its widgets: one agreement
// from this side's invitation to the comparison of the digits, and the words
// the dialog shows for each verdict. The dialog draws what this holds.
class KeyAgreementFlow {
public:
    enum class Step {
        Exchange, // the invitation is out; the field takes what the other side sent
        Compare,  // the key is there: compare the digits, then save
        Ended,    // a line made on purpose ended the agreement: start again
    };

    // Starts with a new invitation.
    KeyAgreementFlow();

    Step step() const;
    const agree::Agreement& agreement() const { return agreement_; }
    // What this side sends: its invitation, or its answer once it answered.
    const std::string& lineToSend() const { return agreement_.lineToSend(); }
    bool answered() const { return agreement_.role() == agree::Agreement::Role::Answerer; }

    // The words for the last verdict or notice (empty: none), and whether it
    // refused something.
    const std::string& message() const { return message_; }
    bool refused() const { return refused_; }

    // What the other side sent, the whole field as it stands. An answer to
    // this invitation gives the key; an invitation is answered instead. A
    // refused text leaves everything as it was, its verdict in message(); an
    // empty one only clears the message.
    void takeText(std::string_view text);

    // The digits the other side read aloud, as typed. True when they match
    // this key's; otherwise message() says why.
    bool compare(std::string_view typed);

    // A new invitation in place of this agreement, whose secrets are wiped.
    void startAgain();
    // Wipes every secret; the flow is Ended.
    void giveUp();

private:
    void show(const Error& verdict);

    agree::Agreement agreement_;
    std::string message_;
    bool refused_ = false;
};

// "77DE 0B45" as a screen reader should say it: one digit at a time, a pause
// between groups ("7 7 D E, 0 B 4 5").
std::string spelledDigits(std::string_view grouped);

} // namespace tarvex::window
