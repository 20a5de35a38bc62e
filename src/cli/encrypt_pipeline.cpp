#include "encrypt_pipeline.h"

#include <algorithm>

namespace tarvex::cli {

EncryptPipeline::EncryptPipeline(Encoding encoding, std::span<const std::uint8_t> keyNumbers)
    : encoding_(encoding), transformer_(Direction::Encrypt, keyNumbers) {}

void EncryptPipeline::normaliseLineBreaks(std::string_view codes) {
    normalised_.clear();
    insertedAt_.clear();
    normalised_.reserve(codes.size() + codes.size() / 8);
    // Copy the runs between line feeds whole; only a line feed decides anything.
    std::size_t from = 0;
    while (from < codes.size()) {
        std::size_t lineFeed = codes.find('\n', from);
        if (lineFeed == std::string_view::npos) lineFeed = codes.size();
        normalised_.append(codes.substr(from, lineFeed - from));
        if (lineFeed > from) lastWasCarriageReturn_ = codes[lineFeed - 1] == '\r';
        if (lineFeed == codes.size()) break;
        if (!lastWasCarriageReturn_) {
            insertedAt_.push_back(normalised_.size());
            normalised_.push_back('\r');
        }
        normalised_.push_back('\n');
        lastWasCarriageReturn_ = false;
        from = lineFeed + 1;
    }
}

Status EncryptPipeline::encryptCodes(std::string_view codes, std::string& out) {
    Status encrypted = transformer_.feed(codes, out);
    if (encrypted || encoding_ != Encoding::Utf8) return encrypted;
    // Report the position in the input, not in the text with CRs added.
    Error error = encrypted.error();
    const std::uint64_t local = error.position - 1 - normalisedBefore_;
    auto insertedHere = std::count_if(insertedAt_.begin(), insertedAt_.end(),
                                      [&](std::size_t at) { return at < local; });
    error.position -= insertedBefore_ + static_cast<std::uint64_t>(insertedHere);
    return error;
}

Status EncryptPipeline::push(std::string_view chunk, std::string& out) {
    if (encoding_ == Encoding::Cp1252) return transformer_.feed(chunk, out);

    codes_.clear();
    if (Status decoded = decoder_.feed(chunk, codes_); !decoded) return decoded;
    normaliseLineBreaks(codes_);
    cipher_.clear();
    if (Status encrypted = encryptCodes(normalised_, cipher_); !encrypted) return encrypted;
    insertedBefore_ += insertedAt_.size();
    normalisedBefore_ += normalised_.size();
    charset::appendAsUtf8(out, cipher_);
    return Done{};
}

Status EncryptPipeline::finish(std::string& out) {
    if (encoding_ == Encoding::Cp1252) {
        transformer_.finish(out);
        out += "\r\n";
        return Done{};
    }
    if (Status ended = decoder_.finish(); !ended) return ended;
    cipher_.clear();
    transformer_.finish(cipher_);
    charset::appendAsUtf8(out, cipher_);
    out += '\n';
    return Done{};
}

} // namespace tarvex::cli
