// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"
#include "secret/string.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex::files {

// The whole content of a regular file, refused when it holds more than `limit`
// bytes; a folder, pipe, device or socket is refused without waiting. A key
// or a message: read straight into secret memory.
Result<secret::String> readWholeFile(const std::string& path, std::uint64_t limit);

// Writes every byte, retrying short writes and interrupted calls; returns errno
// or 0. A closed pipe is EPIPE, never the end of the process.
int writeAll(int fd, std::string_view bytes);

} // namespace tarvex::files
