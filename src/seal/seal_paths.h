// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/instruction_set.h"

#include <vector>

namespace tarvex::seal {

// The ways the sealed format's byte passes are built: Portable everywhere,
// Avx2 where AVX2 and carry-less multiplication run. Every path gives the same
// result.
std::vector<simd::Path> sealPaths();
// The fastest of them, found once.
simd::Path fastestSealPath();

} // namespace tarvex::seal
