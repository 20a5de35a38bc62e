// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "byte_buffer.h"
#include "command_line.h"
#include "text/line_breaks.h"
#include "pipeline.h"

#include "text/charset.h"
#include "cipher/text_transformer.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvex::cli {

// Line ends (CR and LF) counted rather than stored: runs of one unit (LF, CR
// or CR LF) repeated, so any number of them costs a few bytes, and they come
// back in their order.
class LineEndRuns {
public:
    // `lineEnds` holds nothing but CR and LF.
    void append(std::string_view lineEnds);
    bool empty() const { return next_ == runs_.size(); }
    // Writes up to `room` of the held bytes to `out`, first ones first, and
    // drops them; returns how many.
    std::size_t take(char* out, std::size_t room);

private:
    enum class Unit : std::uint8_t { LineFeed, CarriageReturn, CrLf };
    struct Run {
        Unit unit;
        std::uint64_t bytes;
    };
    std::vector<Run> runs_;
    std::size_t next_ = 0;     // the first run not yet taken
    std::uint64_t taken_ = 0;  // bytes of that run already taken
};

// Cipher text in, message out. Line ends at the very end of the input are not
// part of the cipher text and are dropped. In UTF-8 a byte-order mark at the
// very start is skipped, and the message's CR LF line breaks come out as LF; in
// cp1252 the message's codes come out as they are.
class DecryptPipeline final : public Pipeline {
public:
    DecryptPipeline(Encoding encoding, std::span<const std::uint8_t> keyNumbers, std::string inputName,
                    simd::Path path = simd::fastestPath());

    // The marker stands `offset` bytes into the input, after white space,
    // format characters or quote markers that came with the text; they are
    // passed over, and positions in errors still count them.
    void startAt(std::size_t offset) { markerAt_ = offset; }

    Result<std::string_view> transform(std::string_view chunk) override;
    Result<std::string_view> more() override;
    Result<std::string_view> conclude() override;

private:
    Result<std::string_view> decrypted(std::string_view piece);
    Result<std::size_t> decryptPiece(std::string_view piece, char* out);
    Result<std::size_t> decryptUtf8Step(std::string_view piece, char* out);
    void passOverLead(std::string_view& chunk);
    Error counted(Error error) const;

    Encoding encoding_;
    cipher::TextTransformer transformer_;
    text::charset::Utf8ToCodes decoder_;
    text::LineFeedsFromCrLf lineBreaks_;
    simd::Path path_;
    std::string inputName_;
    LineEndRuns heldLineEnds_; // may still turn out to be the trailing ones
    // The last chunk's cipher text and the line ends after it, while more() works them off.
    std::string_view cipherText_, trailing_;
    bool pending_ = false;
    ByteOrderMark mark_;
    std::size_t markerAt_ = 0;
    std::uint64_t leadBytes_ = 0, leadCharacters_ = 0; // passed over before the marker
    bool sawCipherText_ = false;
    ByteBuffer lineEnds_, codes_, message_, lineFeeds_, out_; // reused between chunks
};

} // namespace tarvex::cli
