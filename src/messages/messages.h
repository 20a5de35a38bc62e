// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/error.h"

#include <string>
#include <string_view>

namespace tarvex::messages {

// What an Error says, for tarvex-cli and for the window alike: one entry per
// kind of error in one table, so the two programs never tell a fault differently.
// Every word is in the session's language.
struct ErrorMessage {
    // One sentence without a program-name prefix, with what to do where a
    // terminal user needs it: tarvex-cli's error line, the key box's tooltip.
    std::string line;
    // The window's message box for a failed key or cipher command: what, where,
    // and what to do.
    std::string box;
};

ErrorMessage messageFor(const Error& error);

// The system's own words for errno `osError` ("No space left on device"), or
// "unknown error" for 0, in the session's language.
std::string systemReason(int osError);

// messageFor(error).line
std::string describe(const Error& error);

// `text` (a file name, an argument) fit for a one-line message: line breaks and
// other controls, invisible direction marks and bytes that are not UTF-8 show
// as backslash escapes, so the message stays one line and no escape sequence
// reaches the terminal.
std::string escapedForMessage(std::string_view text);

} // namespace tarvex::messages
