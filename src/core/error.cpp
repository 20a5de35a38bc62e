// SPDX-License-Identifier: GPL-3.0-or-later

#include "error.h"

#include <cstring>

namespace tarvex {

std::string systemReason(int osError) {
    return osError != 0 ? std::string(std::strerror(osError)) : std::string("unknown error");
}

} // namespace tarvex
