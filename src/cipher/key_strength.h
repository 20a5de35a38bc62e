// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/result.h"

#include <cstdint>
#include <span>
#include <string>

namespace tarvex::cipher {

// A key number of 0 leaves its character as it is. A file in which more than
// half of the key numbers are 0 (a key of "00" pairs, or a text file chosen by
// mistake, whose letters all count 0) would send most of a message as it
// stands; a generated key has about one in 256. Encrypting refuses such a
// file; decrypting accepts every key, so old cipher texts still open.
Status requireHidingKey(std::span<const std::uint8_t> keyNumbers, const std::string& path);

} // namespace tarvex::cipher
