// SPDX-License-Identifier: GPL-3.0-or-later
#include "token_length.h"

#include "base58_blocks.h"
#include "sealed_format.h"

#include <algorithm>

namespace tarvex::seal {

std::size_t tokenLength(std::size_t payloadBytes) {
    // Every full piece but the last is a chunk of its own; the last piece,
    // empty or full, carries the final tag.
    const std::size_t chunks = std::max<std::size_t>(1, (payloadBytes + kPieceBytes - 1) / kPieceBytes);
    const std::size_t binary = kHeaderBytes + chunks * kChunkOverhead + payloadBytes + kCheckBytes;
    return kTokenPrefix.size() + binary / base58::kBlockBytes * base58::kBlockDigits +
           base58::digitsForBytes(binary % base58::kBlockBytes);
}

std::size_t largestPayloadWithin(std::size_t tokenCharacters) {
    // Tokens grow with their payloads: the largest that fits lies between
    // `fits` and `over`, which never does (a byte takes more than a character).
    std::size_t fits = 0;
    std::size_t over = tokenCharacters + 1;
    while (over - fits > 1) {
        const std::size_t middle = fits + (over - fits) / 2;
        (tokenLength(middle) <= tokenCharacters ? fits : over) = middle;
    }
    return fits;
}

} // namespace tarvex::seal
