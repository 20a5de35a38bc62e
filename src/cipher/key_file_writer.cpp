// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_file_writer.h"

#include "key_file_format.h"

namespace tarvex::cipher {

Status saveKeyFile(const std::string& path, std::span<const std::uint8_t> keyBytes,
                   files::AtomicFileWriter::Replace replace) {
    files::AtomicFileWriter::Options options{.replace = replace, .mode = 0600, .honourUmask = false, .forceMode = true};
    return files::writeFileAtomically(path, formatKeyFile(keyBytes), options);
}

} // namespace tarvex::cipher
