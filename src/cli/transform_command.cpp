// SPDX-License-Identifier: GPL-3.0-or-later

#include "transform_command.h"


#include "decrypt_pipeline.h"
#include "encrypt_pipeline.h"
#include "stream_io.h"

#include "cipher/key_file_reader.h"
#include "cipher/key_strength.h"
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
        error.path = inputName;
        break;
    default:
        break;
    }
    return error;
}

} // namespace

std::unique_ptr<Pipeline> TransformCommand::makePipeline(std::span<const std::uint8_t> keyNumbers,
                                                         const std::string& inputName) const {
    if (request_.encrypt) return std::make_unique<EncryptPipeline>(request_.encoding, keyNumbers);
    return std::make_unique<DecryptPipeline>(request_.encoding, keyNumbers, inputName);
}

Status TransformCommand::run() {
    Result<std::vector<std::uint8_t>> keyNumbers = readKeyNumbers(request_.keyFile);
    if (!keyNumbers) return keyNumbers.error();
    const WipeOnExit keyWiped(*keyNumbers);
    if (request_.encrypt) {
        if (Status hiding = requireHidingKey(*keyNumbers, request_.keyFile); !hiding) return hiding;
    }

    Result<ChunkReader> reader = ChunkReader::open(request_.input);
    if (!reader) return reader.error();
    Result<OutputSink> sink = OutputSink::open(request_.output);
    if (!sink) return sink.error();

    std::unique_ptr<Pipeline> pipeline = makePipeline(*keyNumbers, reader->name());
    for (bool first = true;; first = false) {
        Result<std::string_view> chunk = reader->next();
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
