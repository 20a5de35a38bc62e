// SPDX-License-Identifier: GPL-3.0-or-later
#include "sealing_key.h"

#include "cipher/key_fingerprint.h"

#include <sodium.h>

#include <algorithm>

namespace tarvex::seal {

SealingKey::SealingKey(std::span<const std::uint8_t> keyNumbers)
    : key_(secret::Bytes::guarded(crypto_secretstream_xchacha20poly1305_KEYBYTES)),
      fingerprint_(cipher::fingerprintOf(keyNumbers)) {
    static constexpr unsigned char kSalt[crypto_generichash_blake2b_SALTBYTES] = {};
    static constexpr unsigned char kPersonal[crypto_generichash_blake2b_PERSONALBYTES + 1] = "TarvexSealKey v1";
    crypto_generichash_blake2b_salt_personal(key_.data(), key_.size(), keyNumbers.data(), keyNumbers.size(),
                                             nullptr, 0, kSalt, kPersonal);
}

Result<SealingKey> SealingKey::forSealing(std::span<const std::uint8_t> keyNumbers, const std::string& path) {
    if (keyNumbers.size() < kMinimumSealingKeyNumbers)
        return Error{.kind = Error::Kind::SealKeyTooShort, .path = path, .length = keyNumbers.size(),
                     .limit = kMinimumSealingKeyNumbers};
    const auto zeros = static_cast<std::size_t>(std::count(keyNumbers.begin(), keyNumbers.end(), std::uint8_t{0}));
    if (2 * zeros > keyNumbers.size()) return Error{.kind = Error::Kind::SealKeyTooWeak, .path = path};
    return SealingKey(keyNumbers);
}

SealingKey SealingKey::forOpening(std::span<const std::uint8_t> keyNumbers) {
    return SealingKey(keyNumbers);
}

} // namespace tarvex::seal
