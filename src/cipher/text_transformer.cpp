// SPDX-License-Identifier: GPL-3.0-or-later

#include "text_transformer.h"

#include "cipher_codes.h"
#include "transform_kernels.h"

namespace tarvex::cipher {
namespace {
// Results this large would only push out of the cache what is worth keeping
// there, so they are stored around it.
constexpr std::size_t kStreamingSize = std::size_t{8} << 20;

Error::Kind faultKind(EncryptFault fault) {
    switch (fault) {
    case EncryptFault::Control: return Error::Kind::ControlCharacter;
    case EncryptFault::Reserved: return Error::Kind::EncryptedCodeReserved;
    case EncryptFault::TooLarge:
    case EncryptFault::None: break;
    }
    return Error::Kind::EncryptedCodeTooLarge;
}
} // namespace

TextTransformer::TextTransformer(Direction direction, std::span<const std::uint8_t> keyNumbers)
    : direction_(direction), keys_(keyNumbers) {}

std::size_t TextTransformer::resultSize(std::size_t inputSize) const {
    if (markerHandled_) return inputSize;
    if (direction_ == Direction::Encrypt) return inputSize + 1;
    return inputSize == 0 ? 0 : inputSize - 1;
}

Status TextTransformer::feed(std::string_view codes, char* out) {
    const std::uint64_t consumedStart = consumed_;
    const bool markerStart = markerHandled_;

    if (!markerHandled_) {
        if (direction_ == Direction::Encrypt) {
            *out++ = static_cast<char>(kMarker);
            markerHandled_ = true;
        } else if (!codes.empty()) {
            codes.remove_prefix(1); // the marker's place is never read
            ++consumed_;
            markerHandled_ = true;
        }
    }

    const auto* in = reinterpret_cast<const std::uint8_t*>(codes.data());
    auto* result = reinterpret_cast<std::uint8_t*>(out);
    const Stores stores = codes.size() >= kStreamingSize ? Stores::Streaming : Stores::Cached;
    std::size_t done = 0;
    while (done < codes.size()) {
        std::span<const std::uint8_t> run = keys_.take(codes.size() - done);
        std::size_t ok = direction_ == Direction::Encrypt
                             ? encryptRun(in + done, run.data(), result + done, run.size(), stores)
                             : decryptRun(in + done, run.data(), result + done, run.size(), stores);
        if (ok < run.size()) {
            if (stores == Stores::Streaming) finishStreamingStores();
            const std::uint64_t taken = done + run.size();
            const std::uint8_t code = in[done + ok];
            const std::uint64_t position = consumed_ + done + ok + 1;
            const Error::Kind kind = direction_ == Direction::Encrypt ? faultKind(encryptFault(code, run[ok]))
                                                                      : Error::Kind::DecryptedCodeNegative;
            keys_.rewind(taken);
            consumed_ = consumedStart;
            markerHandled_ = markerStart;
            return Error{.kind = kind, .position = position, .code = code};
        }
        done += run.size();
    }
    if (stores == Stores::Streaming) finishStreamingStores();
    consumed_ += codes.size();
    return Done{};
}

Status TextTransformer::feed(std::string_view codes, secret::String& out) {
    const std::size_t base = out.size();
    out.resize(base + resultSize(codes.size()));
    Status fed = feed(codes, out.data() + base);
    if (!fed) out.resize(base);
    return fed;
}

void TextTransformer::finish(secret::String& out) {
    if (!markerHandled_ && direction_ == Direction::Encrypt) {
        out.push_back(static_cast<char>(kMarker));
    }
    markerHandled_ = true;
}

namespace {

Result<secret::String> transformText(Direction direction, std::string_view text,
                                     std::span<const std::uint8_t> keyNumbers) {
    TextTransformer transformer(direction, keyNumbers);
    secret::String out;
    out.reserve(text.size() + 1);
    if (Status fed = transformer.feed(text, out); !fed) return fed.error();
    transformer.finish(out);
    return out;
}

} // namespace

Result<secret::String> encryptText(std::string_view codes, std::span<const std::uint8_t> keyNumbers) {
    return transformText(Direction::Encrypt, codes, keyNumbers);
}

Result<secret::String> decryptText(std::string_view cipherText, std::span<const std::uint8_t> keyNumbers) {
    return transformText(Direction::Decrypt, cipherText, keyNumbers);
}

} // namespace tarvex::cipher
