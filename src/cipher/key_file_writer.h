// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "files/atomic_file_writer.h"

#include <cstdint>
#include <span>
#include <string>

namespace tarvex::cipher {

// Writes a key file readable by its owner only, all at once or not at all.
Status saveKeyFile(const std::string& path, std::span<const std::uint8_t> keyBytes,
                   files::AtomicFileWriter::Replace replace);

} // namespace tarvex::cipher
