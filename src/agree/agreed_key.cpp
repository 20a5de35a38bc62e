// SPDX-License-Identifier: GPL-3.0-or-later
#include "agreed_key.h"

#include "agreement.h"

#include "secret/memory.h"

#include <sodium.h>

#include <algorithm>
#include <cstring>

namespace tarvex::agree {
namespace {

constexpr std::size_t kSharedBytes = crypto_scalarmult_BYTES;
constexpr std::size_t kSeedBytes = 32;
constexpr std::size_t kBlockBytes = 64;
constexpr unsigned char kZeroSalt[crypto_generichash_blake2b_SALTBYTES] = {};

// 16 ASCII bytes each, no padding.
const unsigned char* personal(const char (&text)[crypto_generichash_blake2b_PERSONALBYTES + 1]) {
    return reinterpret_cast<const unsigned char*>(text);
}

} // namespace

Result<secret::Bytes> agreedKeyBytes(const secret::Bytes& ownSecret, const PublicHalf& otherHalf,
                                     const PublicHalf& inviterHalf, const PublicHalf& answererHalf,
                                     AgreementLine otherLine) {
    secret::ensureSodium();
    secret::Bytes seed = secret::Bytes::guarded(kSeedBytes);
    {
        // s | A | B; s stays only as long as the seed needs it.
        secret::Bytes input = secret::Bytes::guarded(kSharedBytes + 2 * kPublicHalfBytes);
        if (crypto_scalarmult(input.data(), ownSecret.data(), otherHalf.data()) != 0)
            return Error{.kind = Error::Kind::AgreeMadeOnPurpose, .expectedLine = otherLine, .foundLine = otherLine};
        std::memcpy(input.data() + kSharedBytes, inviterHalf.data(), kPublicHalfBytes);
        std::memcpy(input.data() + kSharedBytes + kPublicHalfBytes, answererHalf.data(), kPublicHalfBytes);
        crypto_generichash_blake2b_salt_personal(seed.data(), kSeedBytes, input.data(), input.size(), nullptr, 0,
                                                 kZeroSalt, personal("TarvexAgreeKeyv1"));
    }
    secret::Bytes key = secret::Bytes::guarded(kAgreedKeyBytes);
    secret::Bytes block = secret::Bytes::guarded(kBlockBytes);
    for (std::size_t done = 0, index = 0; done < kAgreedKeyBytes; ++index) {
        unsigned char counter[8];
        for (std::size_t i = 0; i < sizeof counter; ++i) counter[i] = static_cast<unsigned char>(index >> (8 * i));
        crypto_generichash_blake2b_salt_personal(block.data(), kBlockBytes, counter, sizeof counter, seed.data(),
                                                 kSeedBytes, kZeroSalt, personal("TarvexKeyBytesv1"));
        const std::size_t take = std::min(kBlockBytes, kAgreedKeyBytes - done);
        std::memcpy(key.data() + done, block.data(), take);
        done += take;
    }
    return key;
}

} // namespace tarvex::agree
