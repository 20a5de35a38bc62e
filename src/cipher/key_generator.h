// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"
#include "secret/bytes.h"
#include "uniform_source.h"

#include <cstdint>

namespace tarvex::cipher {

inline constexpr int kMinKeyLength = 438;
inline constexpr int kMaxKeyLength = 5969;

// Draws a key: its length N = floor(R * 5532) + 438, then N bytes floor(R * 256),
// reseeding from the clock before the length and before every byte.
Result<secret::Bytes> generateKeyBytes(UniformSource& source, TimeOfDayClock& clock);

} // namespace tarvex::cipher
