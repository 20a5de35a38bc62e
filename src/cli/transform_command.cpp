// SPDX-License-Identifier: GPL-3.0-or-later

#include "transform_command.h"

#include "decrypt_pipeline.h"
#include "encrypt_pipeline.h"
#include "sealed_pipelines.h"
#include "stream_io.h"

#include "seal/text_to_decrypt.h"

#include "cipher/key_file_reader.h"
#include "cipher/key_strength.h"

#include <optional>

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

Result<std::unique_ptr<Pipeline>> TransformCommand::makePipeline(std::span<const std::uint8_t> keyNumbers,
                                                                 const std::optional<seal::SealingKey>& sealingKey,
                                                                 const std::string& inputName,
                                                                 std::string_view start) const {
    if (sealingKey) return std::unique_ptr<Pipeline>(std::make_unique<SealPipeline>(*sealingKey));
    if (request_.encrypt)
        return std::unique_ptr<Pipeline>(std::make_unique<EncryptPipeline>(request_.encoding, keyNumbers));

    // Only what the window offers Decrypt for is decrypted: anything else would
    // come out as noise with success. The first chunk is the whole input or a
    // full MiB, enough to tell.
    using Kind = seal::TextToDecryptKind;
    const seal::TextToDecrypt text = seal::classifyTextToDecrypt(
        start, request_.encoding == Encoding::Cp1252 ? seal::TextBytes::Windows1252 : seal::TextBytes::Utf8);
    if (text.kind == Kind::DamagedSealed) return Error{.kind = Error::Kind::LooksDamagedSealed, .path = inputName};
    if (request_.sealed || text.kind == Kind::Sealed || text.kind == Kind::NewerVersion)
        return std::unique_ptr<Pipeline>(
            std::make_unique<OpenPipeline>(seal::SealingKey::forOpening(keyNumbers)));
    switch (text.kind) {
    case Kind::Classic: {
        auto pipeline = std::make_unique<DecryptPipeline>(request_.encoding, keyNumbers, inputName);
        pipeline->startAt(text.offset);
        return std::unique_ptr<Pipeline>(std::move(pipeline));
    }
    case Kind::NotUtf8:
        return Error{.kind = Error::Kind::InvalidUtf8, .path = inputName, .position = text.offset + 1};
    case Kind::Blank: {
        // An empty input, or line breaks alone, is what the classic pipeline names.
        std::string_view rest = start;
        if (request_.encoding == Encoding::Utf8 && rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
        if (start.size() < kChunkSize && rest.find_first_not_of("\r\n") == std::string_view::npos)
            return std::unique_ptr<Pipeline>(
                std::make_unique<DecryptPipeline>(request_.encoding, keyNumbers, inputName));
        return Error{.kind = Error::Kind::OnlyWhiteSpace, .path = inputName};
    }
    default:
        return Error{.kind = Error::Kind::NotCipherText, .path = inputName, .code = text.first};
    }
}

Status TransformCommand::run() {
    Result<secret::Bytes> keyNumbers = cipher::readKeyNumbers(request_.keyFile);
    if (!keyNumbers) return keyNumbers.error();
    // The key is judged before any file is touched.
    std::optional<seal::SealingKey> sealingKey;
    if (request_.encrypt && request_.sealed) {
        Result<seal::SealingKey> key = seal::SealingKey::forSealing(*keyNumbers, request_.keyFile);
        if (!key) return key.error();
        sealingKey.emplace(std::move(*key));
    } else if (request_.encrypt) {
        if (Status hiding = cipher::requireHidingKey(*keyNumbers, request_.keyFile); !hiding) return hiding;
    }

    Result<ChunkReader> reader = ChunkReader::open(request_.input);
    if (!reader) return reader.error();
    Result<OutputSink> sink = OutputSink::open(request_.output);
    if (!sink) return sink.error();

    Result<std::string_view> chunk = reader->next();
    if (!chunk) return chunk.error();
    Result<std::unique_ptr<Pipeline>> made = makePipeline(*keyNumbers, sealingKey, reader->name(), *chunk);
    if (!made) return made.error();
    const std::unique_ptr<Pipeline> pipeline = std::move(*made);
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
