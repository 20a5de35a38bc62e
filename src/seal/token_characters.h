// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace tarvex::seal {

// What mail wrapping, chat programs and replies add to a token: Unicode white
// space, format characters (zero-width spaces and joiners, the byte-order
// mark, soft hyphens) and '>' quote markers. Opening drops them all.
bool isDroppedFromToken(char32_t ch);

} // namespace tarvex::seal
