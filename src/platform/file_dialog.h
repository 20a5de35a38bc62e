#pragma once

#include "cipher/file_dialog_settings.h"

#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace tarvex::platform {

// The window's one file dialog: it keeps its settings from one use to the next.
// Tests answer the next show() through setNextFileName(), so nothing blocks.
class FileDialog {
public:
    enum class Kind { Open, Save };
    struct Shown {
        Kind kind;
        FileDialogSettings settings; // as they were when it was shown
    };

    virtual ~FileDialog() = default;

    FileDialogSettings& settings() { return settings_; }

    // Shows the dialog modally; the chosen full path, or empty on cancel.
    QString show(Kind kind, QWidget* parent);

    // The next show() answers `fileName` without a window (empty: cancel).
    void setNextFileName(const QString& fileName) { next_ = fileName; }
    const std::vector<Shown>& shown() const { return shown_; }

    // "description|pattern|..." as Qt name filters, one per entry.
    static QStringList nameFilters(const std::string& filter);

protected:
    virtual QString runDialog(Kind kind, QWidget* parent);

private:
    FileDialogSettings settings_;
    std::optional<QString> next_;
    std::vector<Shown> shown_;
};

} // namespace tarvex::platform
