// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <initializer_list>
#include <vector>

namespace tarvex::simd {

// The ways a pass over bytes is built, slowest first. Every path of a pass
// gives the same result; the fastest this processor has is used unless one is
// named.
//  - Portable: one byte at a time.
//  - Vector16: 16 bytes at a time (SSE2 on every x86-64, NEON or plain code elsewhere).
//  - Avx2: 32 bytes at a time.
//  - Avx512: 64 bytes at a time with AVX-512's byte compress and expand.
// A pass that has no code of its own for a path uses the next slower one it has.
enum class Path { Portable, Vector16, Avx2, Avx512 };

// Every path this processor runs, slowest first; Portable and Vector16 run everywhere.
std::vector<Path> availablePaths();
// The fastest of them, found once.
Path fastestPath();

// Of the paths a pass has, those this processor runs, slowest first.
std::vector<Path> availableAmong(std::initializer_list<Path> implemented);
// The fastest of them.
Path fastestAmong(std::initializer_list<Path> implemented);

} // namespace tarvex::simd
