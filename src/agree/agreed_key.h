// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "agreement_line.h"

#include "core/result.h"
#include "secret/bytes.h"

namespace tarvex::agree {

// The key bytes both sides compute (kAgreedKeyBytes of them, in guarded
// memory): s = X25519(own secret, other side's public half); a seed, BLAKE2b
// over s | inviter's half | answerer's half, the halves as the lines carry
// them; the key bytes, BLAKE2b blocks keyed with the seed. Every value between
// is wiped as soon as it has served. Refused (AgreeMadeOnPurpose, on
// `otherLine`) when X25519 gives zero bytes, which only a half of small order does.
Result<secret::Bytes> agreedKeyBytes(const secret::Bytes& ownSecret, const PublicHalf& otherHalf,
                                     const PublicHalf& inviterHalf, const PublicHalf& answererHalf,
                                     AgreementLine otherLine);

} // namespace tarvex::agree
