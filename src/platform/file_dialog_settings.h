// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <utility>

namespace tarvex::platform {

// The settings of the window's one shared file dialog. Each command sets only
// what it needs; the rest stays as the previous command left it.
struct FileDialogSettings {
    std::string fileName;         // empty after a cancel
    std::string title;
    std::string defaultExt;       // appended to a name typed without one
    std::string initDir;          // empty: the dialog's own default folder
    std::string filter;           // "description|pattern|description|pattern..."
    int filterIndex = 0;          // 1-based
    // A Save dialog asks this (after naming the file) before an existing file is
    // replaced, {path} in it standing for the file's name, No being the
    // default; No shows the dialog again. Empty: no question.
    std::string replaceQuestion;

    // A command's own dialog: no name yet, its title, extension and filter,
    // the first filter chosen.
    void prepare(std::string dialogTitle, std::string extension, std::string filters) {
        fileName.clear();
        title = std::move(dialogTitle);
        defaultExt = std::move(extension);
        filter = std::move(filters);
        filterIndex = 1;
    }
};

} // namespace tarvex::platform
