// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "messages/window_messages.h"
#include "platform/file_dialog_settings.h"

#include <string>
#include <utility>

namespace tarvex::exchange {

// Readies the shared file dialog for a command: its words from the message
// table, and the extension appended to a name typed without one. A command
// without a question before replacing leaves the last one as it was.
inline void prepareDialog(platform::FileDialogSettings& dialog, const messages::DialogWords& words,
                          std::string extension) {
    dialog.prepare(words.title, std::move(extension), words.filter);
    if (!words.replaceQuestion.empty()) dialog.replaceQuestion = words.replaceQuestion;
}

} // namespace tarvex::exchange
