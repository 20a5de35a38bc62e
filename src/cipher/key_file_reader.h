// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"
#include "secret/bytes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex::cipher {

// Far above any key the program writes (12,382 bytes at most), low enough to
// refuse a wrong file before it eats memory.
inline constexpr std::uint64_t kMaxKeyFileSize = 64ull * 1024 * 1024;

// 0-9 count their value, capital A-F count 10-15, every other character 0.
constexpr int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

// The key numbers (0-30) of a key file's content, in file order: each line,
// ended by CR LF, a lone CR or a lone LF, is cut into pairs from its start; a
// pair's number is the sum of its two digit values, and the lone last character
// of an odd line counts twice. May be empty.
secret::Bytes keyNumbersFromText(std::string_view keyFile);

// Reads the key file at `path` and fails unless it yields at least one key number.
Result<secret::Bytes> readKeyNumbers(const std::string& path);

} // namespace tarvex::cipher
