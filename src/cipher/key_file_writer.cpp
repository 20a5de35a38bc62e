// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_file_writer.h"

#include "key_file_format.h"

namespace tarvex {

Status saveKeyFile(const std::string& path, std::span<const std::uint8_t> keyBytes, AtomicFileWriter::Replace replace) {
    AtomicFileWriter::Options options{.replace = replace, .mode = 0600, .honourUmask = false, .forceMode = true};
    return writeFileAtomically(path, formatKeyFile(keyBytes), options);
}

} // namespace tarvex
