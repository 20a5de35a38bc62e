// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_file_writer.h"

#include "key_file_format.h"
#include "secret_memory.h"

namespace tarvex {

Status saveKeyFile(const std::string& path, std::span<const std::uint8_t> keyBytes, AtomicFileWriter::Replace replace) {
    AtomicFileWriter::Options options{.replace = replace, .mode = 0600, .honourUmask = false, .forceMode = true};
    std::string text = formatKeyFile(keyBytes);
    // The file's text is the key itself: no copy of it stays in freed memory.
    WipeOnExit wipe({reinterpret_cast<std::uint8_t*>(text.data()), text.size()});
    return writeFileAtomically(path, text, options);
}

} // namespace tarvex
