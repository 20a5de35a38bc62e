// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

namespace tarvex {

// The settings of the window's one shared file dialog. Each command sets only
// what it needs; the rest stays as the previous command left it.
struct FileDialogSettings {
    std::string fileName;
    bool cancelError = false;     // a cancel yields the empty file name when false
    std::string title;
    std::string defaultExt;       // appended to a name typed without one
    std::string initDir;          // empty: the dialog's own default folder
    std::string filter;           // "description|pattern|description|pattern..."
    int filterIndex = 0;          // 1-based
    // A Save dialog asks this (after naming the file) before an existing file is
    // replaced, No being the default; No shows the dialog again. Empty: no question.
    std::string replaceQuestion;
};

} // namespace tarvex
