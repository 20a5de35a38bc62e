// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/result.h"

#include <cstddef>
#include <functional>
#include <string_view>

namespace tarvex::seal {

inline constexpr std::string_view kTokenPrefix = "tarvex1";
inline constexpr std::size_t kPieceBytes = 65536;
inline constexpr std::size_t kHeaderBytes = 24;
inline constexpr std::size_t kChunkOverhead = 17;
inline constexpr std::size_t kCheckBytes = 4;
inline constexpr std::size_t kFullChunkBytes = kPieceBytes + kChunkOverhead;
// Header, one empty chunk, check.
inline constexpr std::size_t kSmallestBinary = kHeaderBytes + kChunkOverhead + kCheckBytes;

// Where a sealer or opener hands its output, piece by piece; a failure (a
// full disk) stops the work.
using Emit = std::function<Status(std::string_view)>;

} // namespace tarvex::seal
