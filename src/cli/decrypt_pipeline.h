#pragma once

#include "byte_buffer.h"
#include "command_line.h"
#include "line_breaks.h"
#include "pipeline.h"

#include "cipher/charset.h"
#include "cipher/text_transformer.h"

#include <cstdint>
#include <span>
#include <string>

namespace tarvex::cli {

// Cipher text in, message out. Line ends at the very end of the input are not
// part of the cipher text and are dropped. In UTF-8 the message's CR LF line
// breaks come out as LF; in cp1252 the message's codes come out as they are.
class DecryptPipeline final : public Pipeline {
public:
    DecryptPipeline(Encoding encoding, std::span<const std::uint8_t> keyNumbers, std::string inputName,
                    blocks::Path path = blocks::fastestPath());

    Result<std::string_view> transform(std::string_view chunk) override;
    Result<std::string_view> conclude() override;

private:
    Result<std::size_t> decryptPiece(std::string_view piece, char* out);
    Result<std::size_t> decryptUtf8Step(std::string_view piece, char* out);

    Encoding encoding_;
    TextTransformer transformer_;
    charset::Utf8ToCodes decoder_;
    LineFeedsFromCrLf lineBreaks_;
    blocks::Path path_;
    std::string inputName_;
    std::string heldLineEnds_; // may still turn out to be the trailing ones
    bool sawCipherText_ = false;
    ByteBuffer codes_, message_, lineFeeds_, out_; // reused between chunks
};

} // namespace tarvex::cli
