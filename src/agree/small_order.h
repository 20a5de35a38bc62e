// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "agreement_line.h"

namespace tarvex::agree {

// Whether X25519 gives 32 zero bytes for `publicHalf` whatever the secret:
// u = 0, 1, p - 1, p, p + 1 and the two points of order 8, with bit 255
// clear or set. No honest side makes such a half.
bool hasSmallOrder(const PublicHalf& publicHalf);

} // namespace tarvex::agree
