// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_fingerprint.h"

#include "key_file_reader.h"

#include <sodium.h>

#include <array>

namespace tarvex::cipher {

std::string fingerprintOf(std::span<const std::uint8_t> keyNumbers) {
    std::array<unsigned char, crypto_hash_sha256_BYTES> digest{};
    crypto_hash_sha256(digest.data(), keyNumbers.data(), keyNumbers.size());
    constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < 8; ++i) {
        if (i > 0 && i % 2 == 0) text += ' ';
        text += kHexDigits[digest[i] >> 4];
        text += kHexDigits[digest[i] & 0x0F];
    }
    return text;
}

Result<std::string> keyFingerprint(const std::string& path) {
    Result<secret::Bytes> keyNumbers = readKeyNumbers(path);
    if (!keyNumbers) return keyNumbers.error();
    return fingerprintOf(*keyNumbers);
}

} // namespace tarvex::cipher
