// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/instruction_set.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// Bytes in blocks of 8, each block a big-endian number written as 11 base58
// digits; a shorter last block takes as few digits as its value can need.
namespace tarvex::seal::base58 {

inline constexpr std::size_t kBlockBytes = 8;
inline constexpr std::size_t kBlockDigits = 11;
inline constexpr char kAlphabet[] = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz";

// Digits for a block of 0 to 8 bytes: 0, 2, 3, 5, 6, 7, 9, 10, 11.
constexpr std::size_t digitsForBytes(std::size_t bytes) {
    constexpr std::size_t kDigits[] = {0, 2, 3, 5, 6, 7, 9, 10, 11};
    return kDigits[bytes];
}
// The bytes a group of `digits` stands for; nothing for a count no block has.
std::optional<std::size_t> bytesForDigits(std::size_t digits);

// The value of a base58 digit, or -1.
int digitValue(unsigned char c);

// Writes `blocks` whole blocks of `in` as blocks * 11 digits to `out`, on the
// fastest path of seal_paths.h unless one is named.
void encodeBlocks(const std::uint8_t* in, std::size_t blocks, char* out);
void encodeBlocks(const std::uint8_t* in, std::size_t blocks, char* out, simd::Path path);
// Reads whole groups of 11 characters into `blocks` blocks at most; stops at a
// group with a character that is no digit or a value beyond 8 bytes, and
// returns how many blocks it wrote.
std::size_t decodeBlocks(const char* text, std::size_t blocks, std::uint8_t* out);
std::size_t decodeBlocks(const char* text, std::size_t blocks, std::uint8_t* out, simd::Path path);
// Writes a block of `bytes` (0 to 8) bytes as digitsForBytes(bytes) digits.
void encodeLastBlock(const std::uint8_t* in, std::size_t bytes, char* out);

// Reads a group of `digits` valid digit values (0-57) into its bytes; false
// when the value does not fit them.
bool decodeGroup(const std::uint8_t* values, std::size_t digits, std::uint8_t* out);

} // namespace tarvex::seal::base58
