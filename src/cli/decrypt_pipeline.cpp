#include "decrypt_pipeline.h"

namespace tarvex::cli {

DecryptPipeline::DecryptPipeline(Encoding encoding, std::span<const std::uint8_t> keyNumbers, std::string inputName,
                                 blocks::Path path)
    : encoding_(encoding), transformer_(Direction::Decrypt, keyNumbers), decoder_(path), lineBreaks_(path), path_(path),
      inputName_(std::move(inputName)) {}

Result<std::string_view> DecryptPipeline::transform(std::string_view chunk) {
    std::size_t lastKept = chunk.find_last_not_of("\r\n");
    if (lastKept == std::string_view::npos) {
        heldLineEnds_.append(chunk);
        return std::string_view();
    }
    const std::string_view cipherText = chunk.substr(0, lastKept + 1);
    // No more codes than bytes; in UTF-8 a CR held back from the chunk before
    // may come first, and each code gives at most three bytes.
    const std::size_t input = heldLineEnds_.size() + cipherText.size();
    char* out = out_.room(encoding_ == Encoding::Cp1252 ? input : 3 * (input + 1));
    std::size_t written = 0;
    // More cipher text follows, so the line ends held so far were inside it.
    if (!heldLineEnds_.empty()) {
        Result<std::size_t> held = decryptPiece(heldLineEnds_, out);
        if (!held) return held.error();
        written += *held;
        heldLineEnds_.clear();
    }
    Result<std::size_t> decrypted = decryptPiece(cipherText, out + written);
    if (!decrypted) return decrypted.error();
    written += *decrypted;
    heldLineEnds_.assign(chunk.substr(lastKept + 1));
    return std::string_view(out, written);
}

Result<std::size_t> DecryptPipeline::decryptPiece(std::string_view piece, char* out) {
    sawCipherText_ = true;
    if (encoding_ == Encoding::Cp1252) {
        const std::size_t size = transformer_.resultSize(piece.size());
        if (Status decrypted = transformer_.feed(piece, out); !decrypted) return decrypted.error();
        return size;
    }
    std::size_t written = 0;
    for (std::size_t from = 0; from < piece.size(); from += kStepSize) {
        Result<std::size_t> step = decryptUtf8Step(piece.substr(from, kStepSize), out + written);
        if (!step) return step.error();
        written += *step;
    }
    return written;
}

Result<std::size_t> DecryptPipeline::decryptUtf8Step(std::string_view piece, char* out) {
    char* codes = codes_.room(kStepSize);
    Result<std::size_t> decoded = decoder_.feed(piece, codes);
    if (!decoded) return decoded.error();

    char* message = message_.room(kStepSize);
    const std::size_t messageSize = transformer_.resultSize(*decoded);
    if (Status decrypted = transformer_.feed(std::string_view(codes, *decoded), message); !decrypted) {
        return decrypted.error();
    }
    char* lineFeeds = lineFeeds_.room(kStepSize + 1);
    const std::size_t lineFeedsSize = lineBreaks_.run(std::string_view(message, messageSize), lineFeeds);
    return charset::writeAsUtf8(std::string_view(lineFeeds, lineFeedsSize), out, path_);
}

Result<std::string_view> DecryptPipeline::conclude() {
    if (!sawCipherText_) return Error{.kind = Error::Kind::NoCipherText, .path = inputName_};
    if (encoding_ == Encoding::Cp1252) return std::string_view();
    if (Status ended = decoder_.finish(); !ended) return ended.error();
    if (lineBreaks_.takeHeldCarriageReturn()) return std::string_view("\r");
    return std::string_view();
}

} // namespace tarvex::cli
