// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>

// The block loops of charset.h's conversions. The 16-byte ones run anywhere;
// call the others only where text::availablePaths() names their path.
namespace tarvex::text::charset::paths {

// Codes to UTF-8, 16 bytes at a time; `out` has room for three bytes a code.
// Returns how many bytes it wrote.
std::size_t writeBlocks(const unsigned char* s, std::size_t n, char* out);

// Decode from s[at] on what most text is made of, ASCII and the characters
// U+00A0 to U+00FF (whose code is their value), and stop before anything else
// for the careful path to judge, or where too little is left to read a whole
// block. `to` never gets ahead of `at`, so the output needs no more room than
// the input.
void decodeCommon(const unsigned char* s, std::size_t n, std::size_t& at, char*& to);

#if defined(__x86_64__)
std::size_t writeAvx2(const unsigned char* s, std::size_t n, char* out);
void decodeCommonAvx2(const unsigned char* s, std::size_t n, std::size_t& at, char*& to);
std::size_t writeAvx512(const unsigned char* s, std::size_t n, char* out);
void decodeCommonAvx512(const unsigned char* s, std::size_t n, std::size_t& at, char*& to);
#endif

} // namespace tarvex::text::charset::paths
