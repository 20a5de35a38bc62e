// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace tarvex::seal {

// How many characters the token of a payload of `payloadBytes` bytes has: the
// prefix, then the digits of the binary form (header, chunks, check).
std::size_t tokenLength(std::size_t payloadBytes);

// The most payload bytes whose token keeps within `tokenCharacters`; 0 when
// not even one byte's does.
std::size_t largestPayloadWithin(std::size_t tokenCharacters);

} // namespace tarvex::seal
