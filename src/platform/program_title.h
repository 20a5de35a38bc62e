// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The program's name and version as its windows show them, the main window's
// caption and the title of every message box that names no other, both made
// of the two.
#define TARVEX_PROGRAM_NAME "Text Tarvex"
#define TARVEX_PROGRAM_VERSION "1.1"

namespace tarvex::platform {

inline constexpr const char* kProgramName = TARVEX_PROGRAM_NAME;
inline constexpr const char* kProgramVersion = TARVEX_PROGRAM_VERSION;
inline constexpr const char* kProgramTitle = TARVEX_PROGRAM_NAME " V" TARVEX_PROGRAM_VERSION;
// The main window's caption.
inline constexpr const char* kWindowCaption = TARVEX_PROGRAM_NAME " - v" TARVEX_PROGRAM_VERSION;

} // namespace tarvex::platform
