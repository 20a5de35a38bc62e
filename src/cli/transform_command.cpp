// SPDX-License-Identifier: GPL-3.0-or-later

#include "transform_command.h"


#include "decrypt_pipeline.h"
#include "encrypt_pipeline.h"
#include "sealed_pipelines.h"
#include "stream_io.h"

#include "seal/token_characters.h"

#include "cipher/key_file_reader.h"
#include "cipher/key_strength.h"

#include <optional>
#include "cipher/secret_memory.h"

namespace tarvex::cli {
namespace {

// Faults in the text get the text's name, so the message says where to look.
Error namingInput(Error error, const std::string& inputName) {
    switch (error.kind) {
    case Error::Kind::CharacterNotInSet:
    case Error::Kind::InvalidUtf8:
    case Error::Kind::EncryptedCodeTooLarge:
    case Error::Kind::EncryptedCodeReserved:
    case Error::Kind::ControlCharacter:
    case Error::Kind::DecryptedCodeNegative:
    case Error::Kind::SealedDamaged:
    case Error::Kind::SealedOtherKey:
    case Error::Kind::SealedNewerVersion:
    case Error::Kind::NotSealed:
        error.path = inputName;
        break;
    default:
        break;
    }
    return error;
}

} // namespace

std::unique_ptr<Pipeline> TransformCommand::makePipeline(std::span<const std::uint8_t> keyNumbers,
                                                         std::optional<seal::SealingKey>& sealingKey,
                                                         const std::string& inputName, std::string_view start) const {
    if (sealingKey) return std::make_unique<SealPipeline>(std::move(*sealingKey));
    if (request_.encrypt) return std::make_unique<EncryptPipeline>(request_.encoding, keyNumbers);
    // A sealed message is told by its start; an input that cannot tell within
    // its first chunk is classic.
    const seal::TokenStart kind = seal::classifyTokenStart(start);
    if (request_.sealed || kind == seal::TokenStart::Sealed || kind == seal::TokenStart::NewerVersion)
        return std::make_unique<OpenPipeline>(seal::SealingKey::forOpening(keyNumbers), inputName);
    return std::make_unique<DecryptPipeline>(request_.encoding, keyNumbers, inputName);
}

Status TransformCommand::run() {
    Result<std::vector<std::uint8_t>> keyNumbers = readKeyNumbers(request_.keyFile);
    if (!keyNumbers) return keyNumbers.error();
    const WipeOnExit keyWiped(*keyNumbers);
    // The key is judged before any file is touched.
    std::optional<seal::SealingKey> sealingKey;
    if (request_.encrypt && request_.sealed) {
        Result<seal::SealingKey> key = seal::SealingKey::forSealing(*keyNumbers, request_.keyFile);
        if (!key) return key.error();
        sealingKey.emplace(std::move(*key));
    } else if (request_.encrypt) {
        if (Status hiding = requireHidingKey(*keyNumbers, request_.keyFile); !hiding) return hiding;
    }

    Result<ChunkReader> reader = ChunkReader::open(request_.input);
    if (!reader) return reader.error();
    Result<OutputSink> sink = OutputSink::open(request_.output);
    if (!sink) return sink.error();

    Result<std::string_view> chunk = reader->next();
    if (!chunk) return chunk.error();
    const std::unique_ptr<Pipeline> pipeline = makePipeline(*keyNumbers, sealingKey, reader->name(), *chunk);
    for (bool first = true;; first = false) {
        if (!first) chunk = reader->next();
        if (!chunk) return chunk.error();
        if (chunk->empty()) break;
        Result<std::string_view> out = pipeline->transform(*chunk);
        if (!out) return namingInput(out.error(), reader->name());
        if (first && chunk->size() < kChunkSize) {
            // The whole input is this one chunk, as every ordinary message is.
            // Its end is checked before any of it is written, so a fault there
            // (a cut UTF-8 sequence) leaves standard output as untouched as a
            // fault earlier on. Nothing was held from before, so the chunk's
            // yield is whole, and the end goes to another buffer.
            Result<std::string_view> rest = pipeline->conclude();
            if (!rest) return namingInput(rest.error(), reader->name());
            if (Status written = sink->write(*out); !written) return written;
            if (Status written = sink->write(*rest); !written) return written;
            return sink->finish();
        }
        for (;;) {
            if (Status written = sink->write(*out); !written) return written;
            out = pipeline->more();
            if (!out) return namingInput(out.error(), reader->name());
            if (out->empty()) break;
        }
    }
    Result<std::string_view> rest = pipeline->conclude();
    if (!rest) return namingInput(rest.error(), reader->name());
    if (Status written = sink->write(*rest); !written) return written;
    return sink->finish();
}

} // namespace tarvex::cli
