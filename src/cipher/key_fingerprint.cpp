// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_fingerprint.h"

#include "key_file_reader.h"

#include <sodium.h>

#include <algorithm>
#include <array>

namespace tarvex {

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
    Result<std::vector<std::uint8_t>> keyNumbers = readKeyNumbers(path);
    if (!keyNumbers) return keyNumbers.error();
    std::string fingerprint = fingerprintOf(*keyNumbers);
    std::fill(keyNumbers->begin(), keyNumbers->end(), std::uint8_t{0}); // no copy of the key lingers
    return fingerprint;
}

} // namespace tarvex
