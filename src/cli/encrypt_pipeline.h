#pragma once

#include "command_line.h"
#include "pipeline.h"

#include "cipher/charset.h"
#include "cipher/text_transformer.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tarvex::cli {

// Message in, cipher text out. In UTF-8 every lone LF becomes CR LF first (the
// window's line breaks) and the cipher text ends with LF; in cp1252 the bytes are
// the codes and the cipher text ends with CR LF.
class EncryptPipeline final : public Pipeline {
public:
    EncryptPipeline(Encoding encoding, std::span<const std::uint8_t> keyNumbers);

    Status push(std::string_view chunk, std::string& out) override;
    Status finish(std::string& out) override;

private:
    Status encryptCodes(std::string_view codes, std::string& out);
    void normaliseLineBreaks(std::string_view codes);

    Encoding encoding_;
    TextTransformer transformer_;
    charset::Utf8ToCodes decoder_;
    bool lastWasCarriageReturn_ = false;
    std::uint64_t normalisedBefore_ = 0; // codes encrypted in earlier chunks
    std::uint64_t insertedBefore_ = 0;   // CRs added in earlier chunks
    std::vector<std::size_t> insertedAt_; // where this chunk got one
    std::string codes_, normalised_, cipher_; // reused between chunks
};

} // namespace tarvex::cli
