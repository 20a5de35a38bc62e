// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "secret/string.h"

#include <string_view>

namespace tarvex::text {

// The lines of a text file joined without separator: a line ends at CR or CR LF;
// a lone LF is a character like any other.
secret::String joinLines(std::string_view bytes);

} // namespace tarvex::text
