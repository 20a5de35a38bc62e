// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string_view>

namespace tarvex::exchange {

// Where the first malformed UTF-8 sequence in `bytes` starts, counted from 1;
// 0 when there is none. Overlong forms, surrogates and values past U+10FFFF
// are malformed.
std::size_t malformedUtf8At(std::string_view bytes);

} // namespace tarvex::exchange
