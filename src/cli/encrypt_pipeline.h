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

namespace tarvex::cli {

// Message in, cipher text out. In UTF-8 every lone LF becomes CR LF first (the
// window's line breaks), a byte-order mark at the very start is skipped, and
// the cipher text ends with LF; in cp1252 the bytes are
// the codes and the cipher text ends with CR LF.
class EncryptPipeline final : public Pipeline {
public:
    EncryptPipeline(Encoding encoding, std::span<const std::uint8_t> keyNumbers,
                    simd::Path path = simd::fastestPath());

    Result<std::string_view> transform(std::string_view chunk) override;
    Result<std::string_view> conclude() override;

private:
    Result<std::size_t> encryptUtf8Step(std::string_view piece, char* out);
    Error countingInputCharacters(Error error, std::string_view codes) const;

    Encoding encoding_;
    cipher::TextTransformer transformer_;
    text::charset::Utf8ToCodes decoder_;
    text::CrLfFromLineFeeds lineBreaks_;
    simd::Path path_;
    std::uint64_t normalisedBefore_ = 0; // codes encrypted in earlier steps
    std::uint64_t addedBefore_ = 0;      // CRs added in earlier steps
    ByteOrderMark mark_;
    ByteBuffer codes_, normalised_, cipher_, out_; // reused between chunks
    secret::String ending_; // the cipher text's last codes and its line end
};

} // namespace tarvex::cli
