// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "agreement_input.h"
#include "command.h"
#include "command_line.h"

#include "agree/agreement.h"
#include "messages/cli_messages.h"

#include <string>

namespace tarvex::cli {

// tarvex-cli invite|answer [--force] [--no-compare] KEYFILE: one side of a
// key agreement over standard input and output. In a terminal it guides the
// user on standard error, takes a refused line again, and writes the key file
// only once the digits heard match (or --no-compare); otherwise it writes the
// key file as soon as the key is there and the first refused line ends it.
class AgreeCommand final : public Command {
public:
    AgreeCommand(AgreeRequest request, int in, int out, int err);
    Status run() override;

private:
    // Standard output: the lines and the fingerprint.
    Status print(const std::string& text) const;
    // Standard error: guidance and refusals; a failure to show them changes nothing.
    void tell(std::string_view text) const;
    void refuse(const Error& verdict) const;
    // Takes one line in a terminal, paste after paste, until `take` accepts one
    // or refuses it for good; `again` asks again after a refusal.
    Status takeInTerminal(const LineTaker& take, AgreementLine expected, messages::AgreementStep again) const;
    // Asks for the digits the other side reads aloud until they match.
    Status compareInTerminal(agree::Agreement& agreement) const;

    AgreeRequest request_;
    int in_, out_, err_;
};

} // namespace tarvex::cli
