// SPDX-License-Identifier: GPL-3.0-or-later

#include "create_key_command.h"

#include "cipher/key_file_writer.h"
#include "cipher/key_generator.h"

namespace tarvex::cli {

CreateKeyCommand::CreateKeyCommand(CreateKeyRequest request, cipher::UniformSource& source,
                                   cipher::TimeOfDayClock& clock)
    : request_(std::move(request)), source_(source), clock_(clock) {}

Status CreateKeyCommand::run() {
    Result<secret::Bytes> key = cipher::generateKeyBytes(source_, clock_);
    if (!key) return key.error();
    using Replace = files::AtomicFileWriter::Replace;
    auto replace = request_.force ? Replace::Allowed : Replace::Refused;
    return cipher::saveKeyFile(request_.keyFile, *key, replace);
}

} // namespace tarvex::cli
