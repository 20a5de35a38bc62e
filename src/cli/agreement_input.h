// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarvex::cli {

// A mail or chat message with a line in it is small; past this much input
// the text read so far is judged as it is.
inline constexpr std::size_t kMaxAgreementInput = std::size_t{1} << 20;

// Takes a text that should hold a line: Done when it does, else the verdict.
using LineTaker = std::function<Status(std::string_view)>;

// Reads standard input that is no terminal until `take` accepts the text or
// refuses it for good: a verdict that more text could still change (no line
// of the kind expected yet, or a cut one) waits for more, up to the end of
// the input. The text may hold other words around the line. A refusal names
// standard input.
Status takeFromStream(int fd, const LineTaker& take);

// Reads one paste from a terminal: a line, and every further line that is
// already waiting (a paste of several lines arrives at once). Nothing at the
// end of the input (Ctrl+D).
Result<std::optional<std::string>> readPaste(int fd);

} // namespace tarvex::cli
