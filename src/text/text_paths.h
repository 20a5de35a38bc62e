// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/instruction_set.h"

#include <vector>

namespace tarvex::text {

// The text passes (charset.h, line_breaks.h) go 16 bytes at a time on any
// processor, 32 with AVX2 and 64 with AVX-512 (x86-64 only); the portable path
// runs as the 16-byte one. The paths of theirs this processor runs:
inline std::vector<simd::Path> availablePaths() {
    return simd::availableAmong({simd::Path::Vector16, simd::Path::Avx2, simd::Path::Avx512});
}

} // namespace tarvex::text
