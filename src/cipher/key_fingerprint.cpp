// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_fingerprint.h"

#include "key_file_reader.h"

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace tarvex {

std::string fingerprintOf(std::span<const std::uint8_t> keyNumbers) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    // SHA-256 of a memory buffer only fails when libcrypto itself is broken.
    if (EVP_Digest(keyNumbers.data(), keyNumbers.size(), digest.data(), &length, EVP_sha256(), nullptr) != 1 ||
        length != 32) {
        std::abort();
    }
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
