#pragma once

#include "file_dialog_settings.h"

#include <string>

namespace tarvex {

// What the key and cipher commands need of the main window, and nothing more.
class CipherCommandHost {
public:
    virtual ~CipherCommandHost() = default;

    // The key file box: setting a different text runs its change rules.
    virtual std::string keyPath() const = 0;
    virtual void setKeyPath(const std::string& path) = 0;

    // The message area as codes of the character set, CR LF line breaks.
    virtual std::string messageCodes() const = 0;
    // Replaces the message as a command does: the mode's limit cuts it, change rules run.
    virtual void setMessageCodes(const std::string& codes) = 0;

    // The load-a-text-file button, which a new key makes usable in every mode.
    virtual void enableTextFileLoad() = 0;

    virtual FileDialogSettings& dialogSettings() = 0;
    // Show the shared dialog with its current settings; the full path, or empty on cancel.
    virtual std::string showSaveDialog() = 0;
    virtual std::string showOpenDialog() = 0;

    // One message box titled with the program's name.
    virtual void reportFailure(const std::string& message) = 0;
};

} // namespace tarvex
