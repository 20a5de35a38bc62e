#include "decrypt_pipeline.h"

namespace tarvex::cli {

DecryptPipeline::DecryptPipeline(Encoding encoding, std::span<const std::uint8_t> keyNumbers, std::string inputName)
    : encoding_(encoding), transformer_(Direction::Decrypt, keyNumbers), inputName_(std::move(inputName)) {}

Status DecryptPipeline::push(std::string_view chunk, std::string& out) {
    std::size_t lastKept = chunk.find_last_not_of("\r\n");
    if (lastKept == std::string_view::npos) {
        heldLineEnds_.append(chunk);
        return Done{};
    }
    // More cipher text follows, so the line ends held so far were inside it.
    if (!heldLineEnds_.empty()) {
        if (Status st = decryptPiece(heldLineEnds_, out); !st) return st;
        heldLineEnds_.clear();
    }
    if (Status st = decryptPiece(chunk.substr(0, lastKept + 1), out); !st) return st;
    heldLineEnds_.assign(chunk.substr(lastKept + 1));
    return Done{};
}

Status DecryptPipeline::decryptPiece(std::string_view piece, std::string& out) {
    sawCipherText_ = true;
    if (encoding_ == Encoding::Cp1252) return transformer_.feed(piece, out);

    codes_.clear();
    if (Status decoded = decoder_.feed(piece, codes_); !decoded) return decoded;
    message_.clear();
    if (Status decrypted = transformer_.feed(codes_, message_); !decrypted) return decrypted;
    appendWithLineFeeds(message_);
    charset::appendAsUtf8(out, lineFeeds_);
    return Done{};
}

void DecryptPipeline::appendWithLineFeeds(std::string_view codes) {
    lineFeeds_.clear();
    for (char c : codes) {
        if (pendingCarriageReturn_) {
            pendingCarriageReturn_ = false;
            if (c == '\n') {
                lineFeeds_.push_back('\n');
                continue;
            }
            lineFeeds_.push_back('\r'); // a lone CR stays what it is
        }
        if (c == '\r') {
            pendingCarriageReturn_ = true; // its LF may start the next chunk
        } else {
            lineFeeds_.push_back(c);
        }
    }
}

Status DecryptPipeline::finish(std::string& out) {
    if (!sawCipherText_) return Error{.kind = Error::Kind::NoCipherText, .path = inputName_};
    if (encoding_ == Encoding::Cp1252) return Done{};
    if (Status ended = decoder_.finish(); !ended) return ended;
    if (pendingCarriageReturn_) {
        pendingCarriageReturn_ = false;
        out.push_back('\r');
    }
    return Done{};
}

} // namespace tarvex::cli
