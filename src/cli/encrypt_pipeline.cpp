// SPDX-License-Identifier: GPL-3.0-or-later

#include "encrypt_pipeline.h"

namespace tarvex::cli {

EncryptPipeline::EncryptPipeline(Encoding encoding, std::span<const std::uint8_t> keyNumbers, simd::Path path)
    : encoding_(encoding), transformer_(cipher::Direction::Encrypt, keyNumbers), decoder_(path), lineBreaks_(path),
      path_(path) {}

Error EncryptPipeline::countingInputCharacters(Error error, std::string_view codes) const {
    // Report the position in the input, not in the text with CRs added.
    const auto local = static_cast<std::size_t>(error.position - 1 - normalisedBefore_);
    error.position -= addedBefore_ + lineBreaks_.addedBefore(codes, local);
    return error;
}

Result<std::size_t> EncryptPipeline::encryptUtf8Step(std::string_view piece, char* out) {
    char* codes = codes_.room(kStepSize);
    Result<std::size_t> decoded = decoder_.feed(piece, codes);
    if (!decoded) return mark_.counted(decoded.error());

    char* normalised = normalised_.room(2 * kStepSize);
    const std::size_t normalisedSize = lineBreaks_.run(std::string_view(codes, *decoded), normalised);

    char* cipher = cipher_.room(2 * kStepSize + 1);
    const std::size_t cipherSize = transformer_.resultSize(normalisedSize);
    if (Status encrypted = transformer_.feed(std::string_view(normalised, normalisedSize), cipher); !encrypted) {
        return countingInputCharacters(encrypted.error(), std::string_view(codes, *decoded));
    }
    addedBefore_ += normalisedSize - *decoded;
    normalisedBefore_ += normalisedSize;
    return text::charset::writeAsUtf8(std::string_view(cipher, cipherSize), out, path_);
}

Result<std::string_view> EncryptPipeline::transform(std::string_view chunk) {
    if (encoding_ == Encoding::Cp1252) {
        const std::size_t size = transformer_.resultSize(chunk.size());
        char* out = out_.room(size);
        if (Status encrypted = transformer_.feed(chunk, out); !encrypted) {
            out_.filledUnknown();
            return encrypted.error();
        }
        return out_.filled(size);
    }

    mark_.skipAtStart(chunk);
    // Each byte gives at most two codes (LF gives CR LF), each code at most
    // three bytes; the marker may come on top.
    char* out = out_.room(3 * (2 * chunk.size() + 1));
    std::size_t written = 0;
    for (std::size_t from = 0; from < chunk.size(); from += kStepSize) {
        Result<std::size_t> step = encryptUtf8Step(chunk.substr(from, kStepSize), out + written);
        if (!step) {
            out_.filledUnknown();
            return step.error();
        }
        written += *step;
    }
    return out_.filled(written);
}

Result<std::string_view> EncryptPipeline::conclude() {
    ending_.clear();
    if (encoding_ == Encoding::Utf8) {
        if (Status ended = decoder_.finish(); !ended) return mark_.counted(ended.error());
    }
    secret::String marker; // the marker, when no code came
    transformer_.finish(marker);
    if (encoding_ == Encoding::Cp1252) {
        ending_.assign(marker);
        ending_ += "\r\n";
    } else {
        text::charset::appendAsUtf8(ending_, marker);
        ending_ += '\n';
    }
    return std::string_view(ending_);
}

} // namespace tarvex::cli
