// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMainWindow>
#include <QUrl>

class QAction;
class QTextBrowser;

namespace tarvex::platform {

// A window that browses HTML help pages, with back, forward and contents.
// It never keeps the program running on its own.
class HelpWindow final : public QMainWindow {
public:
    HelpWindow();

    // Shows `page`, which from now on is where Contents leads, and brings the
    // window to the front.
    void showContents(const QUrl& page);

    QTextBrowser& browser() const { return *browser_; }
    QAction& backAction() const { return *back_; }
    QAction& forwardAction() const { return *forward_; }
    QAction& contentsAction() const { return *contents_; }
    // Esc and Ctrl+W.
    QAction& closeAction() const { return *close_; }

private:
    QTextBrowser* browser_ = nullptr;
    QAction* back_ = nullptr;
    QAction* forward_ = nullptr;
    QAction* contents_ = nullptr;
    QAction* close_ = nullptr;
    QUrl contentsPage_;
};

} // namespace tarvex::platform
