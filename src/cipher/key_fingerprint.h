// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"

#include <cstdint>
#include <span>
#include <string>

namespace tarvex::cipher {

// The first 8 bytes of the SHA-256 of the key numbers (one byte each, in file
// order), as 16 capital hexadecimal digits in groups of four: "3F2A 9C01 77DE 0B45".
// Built from the key numbers rather than the file's bytes, so copies of one key
// that differ only in line ends share it.
std::string fingerprintOf(std::span<const std::uint8_t> keyNumbers);

// The fingerprint of the key file at `path`; fails as readKeyNumbers does.
Result<std::string> keyFingerprint(const std::string& path);

} // namespace tarvex::cipher
