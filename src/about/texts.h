// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string_view>

namespace tarvex::about {

// The title of every message box that names no other.
inline constexpr std::string_view kProgramTitle = "Text Tarvex V1.1";
// The About box's own title and version texts, not the build's version.
inline constexpr std::string_view kAppTitle = "Text Tarvex";
inline constexpr std::string_view kAppVersion = "1.1";

} // namespace tarvex::about
