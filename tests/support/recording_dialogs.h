// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/file_dialog.h"
#include "platform/message_box.h"

#include <vector>

namespace tarvex::test {

// Keeps every request a message box is asked, in order, from its construction on.
class BoxRecord {
public:
    explicit BoxRecord(platform::MessageBox& box) {
        box.setObserver([this](const platform::MessageBox::Request& request) { shown_.push_back(request); });
    }
    BoxRecord(const BoxRecord&) = delete;
    BoxRecord& operator=(const BoxRecord&) = delete;

    const std::vector<platform::MessageBox::Request>& shown() const { return shown_; }

private:
    std::vector<platform::MessageBox::Request> shown_;
};

struct ShownDialog {
    platform::FileDialog::Kind kind;
    platform::FileDialogSettings settings; // as they were when it was shown
};

// Keeps every showing of a file dialog, in order.
class DialogRecord {
public:
    explicit DialogRecord(platform::FileDialog& dialog) {
        dialog.setObserver([this](platform::FileDialog::Kind kind, const platform::FileDialogSettings& settings) {
            shown_.push_back({kind, settings});
        });
    }
    DialogRecord(const DialogRecord&) = delete;
    DialogRecord& operator=(const DialogRecord&) = delete;

    const std::vector<ShownDialog>& shown() const { return shown_; }

private:
    std::vector<ShownDialog> shown_;
};

// A message box and a file dialog that keep what they were asked. A copy
// keeps what its original kept and goes on keeping its own.
class RecordingMessageBox : public platform::MessageBox {
public:
    RecordingMessageBox() { record(); }
    RecordingMessageBox(const RecordingMessageBox& other) : MessageBox(other), shown_(other.shown_) { record(); }
    RecordingMessageBox& operator=(const RecordingMessageBox& other) {
        MessageBox::operator=(other);
        shown_ = other.shown_;
        record();
        return *this;
    }

    const std::vector<Request>& shown() const { return shown_; }

private:
    void record() {
        setObserver([this](const Request& request) { shown_.push_back(request); });
    }

    std::vector<Request> shown_;
};

class RecordingFileDialog : public platform::FileDialog {
public:
    RecordingFileDialog() { record(); }
    RecordingFileDialog(const RecordingFileDialog& other) : FileDialog(other), shown_(other.shown_) { record(); }
    RecordingFileDialog& operator=(const RecordingFileDialog& other) {
        FileDialog::operator=(other);
        shown_ = other.shown_;
        record();
        return *this;
    }

    const std::vector<ShownDialog>& shown() const { return shown_; }

private:
    void record() {
        setObserver([this](Kind kind, const platform::FileDialogSettings& settings) { shown_.push_back({kind, settings}); });
    }

    std::vector<ShownDialog> shown_;
};

} // namespace tarvex::test
