// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/file_dialog_settings.h"
#include "secret/string.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace tarvex::exchange {

// The most the message area holds in any mode. The area works on the whole text
// at every change, so it is meant for messages, not archives: larger texts are
// for tarvex-cli. A text file is refused on Load beyond this length plus the one
// line end that Save adds, so whatever the window saves, it loads back.
inline constexpr std::size_t kMaxMessageLength = 64 * 1024 * 1024;

// How many characters the message area takes: the ICQ limit when `ofMode`,
// otherwise kMaxMessageLength.
struct MessageLimit {
    std::size_t length = kMaxMessageLength;
    bool ofMode = false;
};

// How long a text of the message area is: its characters (Unicode code points,
// CR LF two), counted from its UTF-8.
inline std::size_t characterCount(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(
        utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// What the key and cipher commands need of the main window, and nothing more.
class CipherCommandHost {
public:
    virtual ~CipherCommandHost() = default;

    // The key file box: setting a different text runs its change rules.
    virtual std::string keyPath() const = 0;
    virtual void setKeyPath(const std::string& path) = 0;

    // The message area as UTF-8, CR LF line breaks.
    virtual secret::String messageText() const = 0;
    // Replaces the message as a command does, the change rules run. A text past
    // messageLimit() would be cut: the commands refuse it before.
    virtual void setMessageText(std::string_view text) = 0;
    virtual MessageLimit messageLimit() const = 0;

    // The load-a-text-file button, which a new key makes usable in every mode.
    virtual void enableTextFileLoad() = 0;

    virtual platform::FileDialogSettings& dialogSettings() = 0;
    // Show the shared dialog with its current settings; the full path, or empty on cancel.
    virtual std::string showSaveDialog() = 0;
    virtual std::string showOpenDialog() = 0;

    // One message box titled with the program's name.
    virtual void reportFailure(const std::string& message) = 0;
    // A question with Yes and No, Yes the default; true for Yes.
    virtual bool confirm(const std::string& question) = 0;
};

} // namespace tarvex::exchange
