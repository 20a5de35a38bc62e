// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher/text_transformer.h"
#include "cipher/transform_kernels.h"

#include "fuzz_check.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool comesBack(std::uint8_t c) {
    return c == 9 || c == 10 || c == 13 || (c >= 32 && c <= 222);
}

// Every kernel path, storing either way, gives the portable path's bytes and
// stops at the same index; the output is offset so streaming meets every alignment.
void checkPathsAgree(std::string_view text, const std::vector<std::uint8_t>& key) {
    using namespace tarvex;
    const std::size_t n = text.size();
    const auto* in = reinterpret_cast<const std::uint8_t*>(text.data());
    std::vector<std::uint8_t> keys(n);
    for (std::size_t i = 0; i < n; ++i) keys[i] = key[i % key.size()];
    const std::size_t offset = n % 32;
    for (bool encrypts : {true, false}) {
        std::vector<std::uint8_t> expected(n);
        const std::size_t expectedStop =
            encrypts ? cipher::encryptRunWith(simd::Path::Portable, in, keys.data(), expected.data(), n)
                     : cipher::decryptRunWith(simd::Path::Portable, in, keys.data(), expected.data(), n);
        for (simd::Path path : cipher::availableKernelPaths()) {
            for (cipher::Stores stores : {cipher::Stores::Cached, cipher::Stores::Streaming}) {
                std::vector<std::uint8_t> out(offset + n);
                std::uint8_t* at = out.data() + offset;
                const std::size_t stop = encrypts ? cipher::encryptRunWith(path, in, keys.data(), at, n, stores)
                                                  : cipher::decryptRunWith(path, in, keys.data(), at, n, stores);
                FUZZ_CHECK(stop == expectedStop);
                FUZZ_CHECK(std::equal(at, at + stop, expected.data()));
            }
        }
    }
}

} // namespace

// Input: one byte for the key length, that many key numbers (folded into 0..30),
// then the text. Encrypting never crashes; every failure is a typed error naming a
// real position; a text of the codes that come back decrypts to itself; pieces
// give the same bytes as one feed; every kernel path gives the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvex;
    if (size < 2) return 0;
    std::size_t keyLength = 1 + data[0] % 64;
    if (size < 1 + keyLength) return 0;
    std::vector<std::uint8_t> key(data + 1, data + 1 + keyLength);
    for (std::uint8_t& k : key) k = static_cast<std::uint8_t>(k % 31);
    std::string_view text(reinterpret_cast<const char*>(data + 1 + keyLength), size - 1 - keyLength);
    checkPathsAgree(text, key);

    Result<secret::String> cipher = cipher::encryptText(text, key);
    bool allComeBack = true;
    for (char c : text) allComeBack = allComeBack && comesBack(static_cast<std::uint8_t>(c));
    if (!cipher) {
        const Error::Kind kind = cipher.error().kind;
        FUZZ_CHECK(kind == Error::Kind::EncryptedCodeTooLarge || kind == Error::Kind::EncryptedCodeReserved ||
                   kind == Error::Kind::ControlCharacter);
        FUZZ_CHECK(cipher.error().position >= 1 && cipher.error().position <= text.size());
        FUZZ_CHECK(!allComeBack);
    } else {
        // Whatever encrypts comes back exactly, through a cipher text free of controls.
        FUZZ_CHECK(cipher->size() == text.size() + 1);
        FUZZ_CHECK(static_cast<std::uint8_t>((*cipher)[0]) == 240);
        FUZZ_CHECK(std::none_of(cipher->begin(), cipher->end(), [](char c) { return static_cast<std::uint8_t>(c) < 32; }));
        Result<secret::String> back = cipher::decryptText(*cipher, key);
        FUZZ_CHECK(back.ok());
        FUZZ_CHECK(std::string_view(*back) == text);
    }

    Result<secret::String> plain = cipher::decryptText(text, key);
    if (!plain) {
        FUZZ_CHECK(plain.error().kind == Error::Kind::DecryptedCodeNegative);
        FUZZ_CHECK(plain.error().position >= 2 && plain.error().position <= text.size());
    } else {
        FUZZ_CHECK(plain->size() == (text.empty() ? 0 : text.size() - 1));
    }

    // The same text fed in three pieces.
    cipher::TextTransformer transformer(cipher::Direction::Encrypt, key);
    secret::String pieces;
    std::size_t a = text.size() / 3;
    std::size_t b = 2 * text.size() / 3;
    bool ok = transformer.feed(text.substr(0, a), pieces).ok() && transformer.feed(text.substr(a, b - a), pieces).ok() &&
              transformer.feed(text.substr(b), pieces).ok();
    transformer.finish(pieces);
    FUZZ_CHECK(ok == cipher.ok());
    if (ok) FUZZ_CHECK(pieces == *cipher);
    return 0;
}
