// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_strength.h"

#include <algorithm>

namespace tarvex::cipher {

Status requireHidingKey(std::span<const std::uint8_t> keyNumbers, const std::string& path) {
    const auto zeros = static_cast<std::size_t>(std::count(keyNumbers.begin(), keyNumbers.end(), std::uint8_t{0}));
    if (2 * zeros > keyNumbers.size()) return Error{.kind = Error::Kind::KeyHidesNothing, .path = path};
    return Done{};
}

} // namespace tarvex::cipher
