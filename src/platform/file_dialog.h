// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/file_dialog_settings.h"

#include <QString>

#include <deque>
#include <functional>
#include <initializer_list>

class QWidget;

namespace tarvex::platform {

class MessageBox;

// The window's one file dialog: it keeps its settings from one use to the next.
// Tests answer show() through setNextFileName(), so nothing blocks, and see
// each showing through setObserver().
class FileDialog {
public:
    enum class Kind { Open, Save };

    virtual ~FileDialog() = default;

    FileDialogSettings& settings() { return settings_; }

    // Where a Save dialog asks its replaceQuestion; without one it asks nothing.
    void askThrough(MessageBox& box) { box_ = &box; }

    // Shows the dialog modally; the chosen full path, or empty on cancel. A Save
    // dialog whose chosen file exists asks replaceQuestion first and shows
    // itself again on No.
    QString show(Kind kind, QWidget* parent);

    // The next show() answers `fileName` without a window (empty: cancel),
    // replacing any answers still waiting.
    void setNextFileName(const QString& fileName) { next_.assign({fileName}); }
    // One answer for each of the next showings, as when a No to the replace
    // question shows the dialog again.
    void setNextFileNames(std::initializer_list<QString> fileNames) { next_.assign(fileNames); }
    // Called at every showing, with the settings it shows.
    void setObserver(std::function<void(Kind, const FileDialogSettings&)> observer) {
        observer_ = std::move(observer);
    }

    // "description|pattern|..." as Qt name filters, one per entry.
    static QStringList nameFilters(const std::string& filter);

protected:
    virtual QString runDialog(Kind kind, QWidget* parent);

private:
    QString showOnce(Kind kind, QWidget* parent);
    bool mayReplace(const QString& path, QWidget* parent);

    FileDialogSettings settings_;
    MessageBox* box_ = nullptr;
    std::deque<QString> next_;
    std::function<void(Kind, const FileDialogSettings&)> observer_;
};

} // namespace tarvex::platform
