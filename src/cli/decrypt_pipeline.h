#pragma once

#include "command_line.h"
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
    DecryptPipeline(Encoding encoding, std::span<const std::uint8_t> keyNumbers, std::string inputName);

    Status push(std::string_view chunk, std::string& out) override;
    Status finish(std::string& out) override;

private:
    Status decryptPiece(std::string_view piece, std::string& out);
    void appendWithLineFeeds(std::string_view codes);

    Encoding encoding_;
    TextTransformer transformer_;
    charset::Utf8ToCodes decoder_;
    std::string inputName_;
    std::string heldLineEnds_; // may still turn out to be the trailing ones
    bool pendingCarriageReturn_ = false;
    bool sawCipherText_ = false;
    std::string codes_, message_, lineFeeds_; // reused between chunks
};

} // namespace tarvex::cli
