// SPDX-License-Identifier: GPL-3.0-or-later

#include "decrypt_pipeline.h"

#include <algorithm>
#include <cstring>

namespace tarvex::cli {
namespace {

// Held line ends go back into the cipher text this much at a time.
constexpr std::size_t kHeldPiece = std::size_t{1} << 20;

} // namespace

void LineEndRuns::append(std::string_view lineEnds) {
    for (std::size_t i = 0; i < lineEnds.size();) {
        const bool crlf = lineEnds[i] == '\r' && i + 1 < lineEnds.size() && lineEnds[i + 1] == '\n';
        const Unit unit = crlf ? Unit::CrLf : lineEnds[i] == '\r' ? Unit::CarriageReturn : Unit::LineFeed;
        const std::size_t size = crlf ? 2 : 1;
        if (!empty() && runs_.back().unit == unit) {
            runs_.back().bytes += size;
        } else {
            runs_.push_back(Run{unit, size});
        }
        i += size;
    }
}

std::size_t LineEndRuns::take(char* out, std::size_t room) {
    std::size_t written = 0;
    while (written < room && !empty()) {
        const Run& run = runs_[next_];
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(room - written, run.bytes - taken_));
        if (run.unit == Unit::CrLf) {
            for (std::size_t j = 0; j < n; ++j) out[written + j] = (taken_ + j) % 2 == 0 ? '\r' : '\n';
        } else {
            std::memset(out + written, run.unit == Unit::LineFeed ? '\n' : '\r', n);
        }
        written += n;
        taken_ += n;
        if (taken_ == run.bytes) {
            ++next_;
            taken_ = 0;
        }
    }
    if (empty()) {
        runs_.clear();
        next_ = 0;
    }
    return written;
}

DecryptPipeline::DecryptPipeline(Encoding encoding, std::span<const std::uint8_t> keyNumbers, std::string inputName,
                                 simd::Path path)
    : encoding_(encoding), transformer_(cipher::Direction::Decrypt, keyNumbers), decoder_(path), lineBreaks_(path),
      path_(path), inputName_(std::move(inputName)) {}

Result<std::string_view> DecryptPipeline::transform(std::string_view chunk) {
    if (encoding_ == Encoding::Utf8) mark_.skipAtStart(chunk);
    if (markerAt_ > 0) passOverLead(chunk);
    std::size_t lastKept = chunk.find_last_not_of("\r\n");
    if (lastKept == std::string_view::npos) {
        heldLineEnds_.append(chunk);
        return std::string_view();
    }
    cipherText_ = chunk.substr(0, lastKept + 1);
    trailing_ = chunk.substr(lastKept + 1);
    pending_ = true;
    return more();
}

void DecryptPipeline::passOverLead(std::string_view& chunk) {
    // The first chunk holds the marker; a mark at the very start is gone already.
    const std::size_t lead = std::min<std::size_t>(markerAt_ - mark_.skipped(), chunk.size());
    markerAt_ = 0;
    const std::string_view passed = chunk.substr(0, lead);
    const auto startsACharacter = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; };
    leadBytes_ = lead;
    leadCharacters_ = encoding_ == Encoding::Cp1252
                          ? lead
                          : static_cast<std::uint64_t>(std::count_if(passed.begin(), passed.end(), startsACharacter));
    chunk.remove_prefix(lead);
}

Error DecryptPipeline::counted(Error error) const {
    error = mark_.counted(std::move(error));
    if (error.kind == Error::Kind::InvalidUtf8) {
        error.position += leadBytes_;
    } else if (error.position != 0) {
        error.position += leadCharacters_;
    }
    return error;
}

Result<std::string_view> DecryptPipeline::more() {
    if (!pending_) return std::string_view();
    // More cipher text follows, so the line ends held so far were inside it.
    if (!heldLineEnds_.empty()) {
        char* lineEnds = lineEnds_.room(kHeldPiece);
        const std::size_t size = heldLineEnds_.take(lineEnds, kHeldPiece);
        return decrypted(std::string_view(lineEnds, size));
    }
    pending_ = false;
    Result<std::string_view> out = decrypted(cipherText_);
    heldLineEnds_.append(trailing_);
    return out;
}

Result<std::string_view> DecryptPipeline::decrypted(std::string_view piece) {
    // No more codes than bytes; in UTF-8 a CR held back from the piece before
    // may come first, and each code gives at most three bytes.
    char* out = out_.room(encoding_ == Encoding::Cp1252 ? piece.size() : 3 * (piece.size() + 1));
    Result<std::size_t> size = decryptPiece(piece, out);
    if (!size) {
        out_.filledUnknown();
        return counted(size.error());
    }
    return out_.filled(*size);
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
    return text::charset::writeAsUtf8(std::string_view(lineFeeds, lineFeedsSize), out, path_);
}

Result<std::string_view> DecryptPipeline::conclude() {
    if (!sawCipherText_) {
        return Error{.kind = heldLineEnds_.empty() ? Error::Kind::NoCipherText : Error::Kind::OnlyLineBreaks,
                     .path = inputName_};
    }
    if (encoding_ == Encoding::Cp1252) return std::string_view();
    if (Status ended = decoder_.finish(); !ended) return counted(ended.error());
    if (lineBreaks_.takeHeldCarriageReturn()) return std::string_view("\r");
    return std::string_view();
}

} // namespace tarvex::cli
