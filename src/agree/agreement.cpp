// SPDX-License-Identifier: GPL-3.0-or-later
#include "agreement.h"

#include "agreed_key.h"

#include "cipher/key_file_format.h"
#include "cipher/key_file_reader.h"
#include "cipher/key_file_writer.h"
#include "cipher/key_fingerprint.h"

#include <sodium.h>

#include <cctype>
#include <utility>

namespace tarvex::agree {
namespace {

secret::Bytes drawnSecretHalf() {
    secret::Bytes half = secret::Bytes::guarded(kSecretHalfBytes);
    randombytes_buf(half.data(), half.size());
    return half;
}

PublicHalf publicHalfOf(const secret::Bytes& secretHalf) {
    PublicHalf half{};
    crypto_scalarmult_base(half.data(), secretHalf.data());
    return half;
}

// Read from the key file as it will be written, so that it is the fingerprint
// tarvex-cli and the window show for the saved file.
std::string fingerprintOfKey(const secret::Bytes& key) {
    return cipher::fingerprintOf(cipher::keyNumbersFromText(cipher::formatKeyFile(key)));
}

Error ownInvitation() {
    return Error{.kind = Error::Kind::AgreeOwnInvitation, .expectedLine = AgreementLine::Answer,
                 .foundLine = AgreementLine::Invitation};
}

} // namespace

Agreement::Agreement(Role role, secret::Bytes secretHalf)
    : role_(role), stage_(Stage::AwaitingAnswer), secretHalf_(std::move(secretHalf)), ownHalf_(publicHalfOf(secretHalf_)) {}

Agreement::Agreement(Agreement&& other) noexcept
    : role_(other.role_), stage_(std::exchange(other.stage_, Stage::Ended)), secretHalf_(std::move(other.secretHalf_)),
      ownHalf_(other.ownHalf_), key_(std::move(other.key_)), invitationLine_(std::move(other.invitationLine_)),
      answerLine_(std::move(other.answerLine_)), fingerprint_(std::move(other.fingerprint_)) {}

Agreement& Agreement::operator=(Agreement&& other) noexcept {
    if (this != &other) {
        role_ = other.role_;
        stage_ = std::exchange(other.stage_, Stage::Ended);
        secretHalf_ = std::move(other.secretHalf_);
        ownHalf_ = other.ownHalf_;
        key_ = std::move(other.key_);
        invitationLine_ = std::move(other.invitationLine_);
        answerLine_ = std::move(other.answerLine_);
        fingerprint_ = std::move(other.fingerprint_);
    }
    return *this;
}

Agreement::~Agreement() = default; // the secure buffers wipe themselves

Agreement Agreement::invite() {
    return invite(drawnSecretHalf());
}

Agreement Agreement::invite(secret::Bytes secretHalf) {
    Agreement agreement(Role::Inviter, std::move(secretHalf));
    agreement.invitationLine_ = formatInvitation(agreement.ownHalf_);
    return agreement;
}

Result<Agreement> Agreement::answer(std::string_view text) {
    return answer(text, drawnSecretHalf());
}

Result<Agreement> Agreement::answer(std::string_view text, secret::Bytes secretHalf) {
    Result<InvitationLine> invitation = readInvitation(text);
    if (!invitation) return invitation.error();
    Agreement agreement(Role::Answerer, std::move(secretHalf));
    if (Status answered = agreement.answerInvitation(*invitation); !answered) return answered.error();
    return agreement;
}

Status Agreement::answerInvitation(const InvitationLine& invitation) {
    invitationLine_ = formatInvitation(invitation.publicHalf);
    answerLine_ = formatAnswer(ownHalf_, tagOf(invitation.publicHalf));
    return agree(invitation.publicHalf, ownHalf_, AgreementLine::Invitation);
}

Status Agreement::agree(const PublicHalf& inviterHalf, const PublicHalf& answererHalf, AgreementLine otherLine) {
    const PublicHalf& otherHalf = role_ == Role::Inviter ? answererHalf : inviterHalf;
    Result<secret::Bytes> key = agreedKeyBytes(secretHalf_, otherHalf, inviterHalf, answererHalf, otherLine);
    secretHalf_.clear(); // the key is all that is needed from here on
    if (!key) {
        giveUp();
        return key.error();
    }
    key_ = std::move(*key);
    fingerprint_ = fingerprintOfKey(key_);
    stage_ = Stage::Agreed;
    return Done{};
}

Status Agreement::takeAnswer(std::string_view text) {
    if (stage_ != Stage::AwaitingAnswer) return outsideAwaiting();
    Result<AnswerLine> answer = readAnswer(text, ownHalf_);
    if (!answer) {
        Error verdict = answer.error();
        if (verdict.kind == Error::Kind::AgreeWrongKind) {
            Result<InvitationLine> invitation = readInvitation(text);
            if (invitation && invitation->publicHalf == ownHalf_) verdict = ownInvitation();
        }
        if (!mayTryAgain(verdict)) giveUp();
        return verdict;
    }
    answerLine_ = formatAnswer(answer->publicHalf, answer->tag);
    return agree(ownHalf_, answer->publicHalf, AgreementLine::Answer);
}

Status Agreement::takeLine(std::string_view text) {
    if (stage_ != Stage::AwaitingAnswer) return outsideAwaiting();
    Result<AnswerLine> answer = readAnswer(text, ownHalf_);
    if (answer || answer.error().kind != Error::Kind::AgreeWrongKind) return takeAnswer(text);
    Result<InvitationLine> invitation = readInvitation(text);
    if (!invitation) {
        if (!mayTryAgain(invitation.error())) giveUp();
        return invitation.error();
    }
    if (invitation->publicHalf == ownHalf_) return ownInvitation();
    // Answered instead: this side's invitation is worth nothing from now on.
    role_ = Role::Answerer;
    secretHalf_ = drawnSecretHalf();
    ownHalf_ = publicHalfOf(secretHalf_);
    return answerInvitation(*invitation);
}

Status Agreement::outsideAwaiting() const {
    if (stage_ == Stage::Ended) {
        return Error{.kind = Error::Kind::AgreeMadeOnPurpose, .expectedLine = AgreementLine::Answer,
                     .foundLine = AgreementLine::Answer};
    }
    return Done{};
}

std::string Agreement::digitsToReadAloud() const {
    if (!hasKey()) return {};
    // "3F2A 9C01 77DE 0B45": the answerer reads the first two groups, the inviter the last two.
    return role_ == Role::Answerer ? fingerprint_.substr(0, 9) : fingerprint_.substr(10, 9);
}

Status Agreement::compareHeard(std::string_view typed) {
    if (!hasKey()) return Error{.kind = Error::Kind::AgreeDigitsDiffer};
    std::string heard;
    for (const char c : typed) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isspace(byte) || c == '-') continue;
        if (!std::isxdigit(byte)) return Error{.kind = Error::Kind::AgreeDigitsUnreadable};
        heard += static_cast<char>(std::toupper(byte));
    }
    if (heard.size() != kDigitsReadAloud) return Error{.kind = Error::Kind::AgreeDigitsUnreadable};
    std::string expected = role_ == Role::Answerer ? fingerprint_.substr(10, 9) : fingerprint_.substr(0, 9);
    std::erase(expected, ' ');
    if (heard != expected) return Error{.kind = Error::Kind::AgreeDigitsDiffer};
    stage_ = Stage::Confirmed;
    return Done{};
}

Status Agreement::saveKeyFile(const std::string& path, files::AtomicFileWriter::Replace replace) const {
    if (!hasKey()) return Error{.kind = Error::Kind::AgreeNotCompared};
    return tarvex::cipher::saveKeyFile(path, key_, replace);
}

void Agreement::giveUp() {
    secretHalf_.clear();
    key_.clear();
    stage_ = Stage::Ended;
}

Status checkKeyFilePlace(const std::string& path, files::AtomicFileWriter::Replace replace) {
    // As saveKeyFile opens it; discarded unwritten.
    files::AtomicFileWriter::Options options{.replace = replace, .mode = 0600, .honourUmask = false, .forceMode = true};
    Result<files::AtomicFileWriter> writer = files::AtomicFileWriter::open(path, options);
    if (!writer) return writer.error();
    writer->discard();
    return Done{};
}

} // namespace tarvex::agree
