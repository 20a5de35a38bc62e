// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "transform_kernels.h"

#include <cstddef>
#include <cstdint>

namespace tarvex::cipher::kernels {

// The 32-lane transforms; only for processors with AVX2 (x86-64 only).
std::size_t encryptAvx2(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n,
                        Stores stores);
std::size_t decryptAvx2(const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t n,
                        Stores stores);

} // namespace tarvex::cipher::kernels
