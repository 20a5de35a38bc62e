// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "agreement_line.h"

#include "core/result.h"
#include "files/atomic_file_writer.h"
#include "secret/bytes.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvex::agree {

inline constexpr std::size_t kSecretHalfBytes = 32;
// The length of an agreed key: the most a created key has.
inline constexpr std::size_t kAgreedKeyBytes = 5969;
// How many digits of the fingerprint each side reads aloud.
inline constexpr std::size_t kDigitsReadAloud = 8;

// One key agreement at one end, from its first line to the saved key file.
// Only one side invites; the other answers:
//
//   inviter                                  answerer
//   Agreement::invite()
//   send lineToSend() (the invitation)  -->  Agreement::answer(text)
//   takeAnswer(text) or takeLine(text)  <--  send lineToSend() (the answer)
//   both: fingerprint(); read digitsToReadAloud() to the other side,
//         compareHeard(what they read), then saveKeyFile(path, ...)
//
// The secret half lives in locked memory, never swapped or dumped, and is
// wiped once the key is computed (the answerer's at once, the inviter's when
// the answer comes), or when the agreement is given up or destroyed. The key
// stays in locked memory until the agreement goes. No secret ever leaves the
// object except into the key file that saveKeyFile writes.
//
// Free of Qt and of any terminal: tarvex-cli and the window's dialog both
// drive it. Not copyable; a moved-from agreement is given up.
class Agreement {
public:
    enum class Role { Inviter, Answerer };
    enum class Stage {
        AwaitingAnswer, // the inviter's invitation is out; no answer yet
        Agreed,         // the key is there, unconfirmed: the digits are still to compare
        Confirmed,      // the digits heard matched this key's
        Ended,          // given up, or a line made on purpose ended it: start again
    };

    // Starts as the inviter: makes this side's key pair from the system's
    // random source. lineToSend() is the invitation.
    static Agreement invite();
    // The same with a given secret half of kSecretHalfBytes bytes, for fixed
    // vectors; it is taken over and wiped like a drawn one.
    static Agreement invite(secret::Bytes secretHalf);

    // Answers the invitation in `text` (the whole paste; words around the line
    // are fine): makes this side's key pair, computes the key and wipes the
    // secret half. lineToSend() is the answer. Refused: the verdict on the
    // text (see readInvitation); mayTryAgain() tells whether another paste can help.
    static Result<Agreement> answer(std::string_view text);
    // The same with a given secret half, for fixed vectors.
    static Result<Agreement> answer(std::string_view text, secret::Bytes secretHalf);

    Agreement(Agreement&& other) noexcept;
    Agreement& operator=(Agreement&& other) noexcept;
    Agreement(const Agreement&) = delete;
    Agreement& operator=(const Agreement&) = delete;
    ~Agreement();

    Role role() const { return role_; }
    Stage stage() const { return stage_; }
    // Whether the key is there (Agreed or Confirmed).
    bool hasKey() const { return stage_ == Stage::Agreed || stage_ == Stage::Confirmed; }

    // The line this side sends: the invitation (inviter) or the answer (answerer).
    const std::string& lineToSend() const { return role_ == Role::Inviter ? invitationLine_ : answerLine_; }
    // The invitation: this side's own, or the one answered, written whole.
    const std::string& invitationLine() const { return invitationLine_; }
    // The answer: this side's own, or the one the inviter took; empty before.
    const std::string& answerLine() const { return answerLine_; }

    // The inviter, while AwaitingAnswer: reads the answer in `text` (the whole
    // paste). An answer to this invitation computes the key and wipes the
    // secret half (Agreed). Refused: the verdict on the text, and the
    // agreement stays open for another paste, unless the line was made on
    // purpose, which ends it (Ended). This side's own invitation given back is
    // AgreeOwnInvitation. Outside AwaitingAnswer it changes nothing: Done
    // once the key is there, AgreeMadeOnPurpose once Ended.
    Status takeAnswer(std::string_view text);

    // The inviter, while AwaitingAnswer: takes what the other side sent into
    // the one field of a window. An answer is taken as takeAnswer() does. An
    // invitation (not this side's own) is answered instead: this side's
    // invitation and secret half are dropped and wiped, role() becomes
    // Answerer, lineToSend() the answer to send back, and the key is there.
    // A refused text changes nothing (unless made on purpose: Ended).
    Status takeLine(std::string_view text);

    // Once hasKey(): the key's fingerprint, 16 capital hexadecimal digits in
    // groups of four ("3F2A 9C01 77DE 0B45"), as tarvex-cli fingerprint prints
    // it for the saved file.
    const std::string& fingerprint() const { return fingerprint_; }
    // The eight digits this side reads aloud, in two groups ("3F2A 9C01"):
    // the answerer the first eight, the inviter the last eight. Each side
    // hears the other eight.
    std::string digitsToReadAloud() const;
    // Compares the eight digits the other side read aloud, as typed (case,
    // spaces and hyphens do not matter), with this key's: a match confirms the
    // key (Confirmed). AgreeDigitsUnreadable: not eight hexadecimal digits;
    // AgreeDigitsDiffer: other digits, a slip or a changed line. Neither
    // changes the stage: the digits may be typed again.
    Status compareHeard(std::string_view typed);

    // Once hasKey() (AgreeNotCompared before): writes the key file as a created key is written (owner
    // only, whole or not at all). Saving an unconfirmed key is the caller's
    // choice: tarvex-cli without a terminal or with --no-compare, the window's
    // secondary way after its question.
    Status saveKeyFile(const std::string& path, files::AtomicFileWriter::Replace replace) const;

    // Ends the agreement and wipes every secret it holds (Ended).
    void giveUp();

private:
    Agreement(Role role, secret::Bytes secretHalf);
    // Computes the key from this side's secret half and the other side's
    // public half (carried by `otherLine`), then wipes the secret half.
    Status agree(const PublicHalf& inviterHalf, const PublicHalf& answererHalf, AgreementLine otherLine);
    // Answers `invitation` with this object's key pair.
    Status answerInvitation(const InvitationLine& invitation);
    // What takeAnswer and takeLine say outside AwaitingAnswer.
    Status outsideAwaiting() const;

    Role role_;
    Stage stage_;
    secret::Bytes secretHalf_;
    PublicHalf ownHalf_{};
    secret::Bytes key_;
    std::string invitationLine_;
    std::string answerLine_;
    std::string fingerprint_;
};

// Checks, before any line is shown, that a key file may be written at `path`:
// its folder takes a new file there, and an existing file is there only when
// `replace` allows it (as saveKeyFile would find). Nothing is written.
Status checkKeyFilePlace(const std::string& path, files::AtomicFileWriter::Replace replace);

} // namespace tarvex::agree
