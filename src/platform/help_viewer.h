// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

class QWidget;

namespace tarvex::platform {

class HelpWindow;
class MessageBox;

// Raised when the call to the help viewer itself fails.
class HelpError : public std::runtime_error {
public:
    explicit HelpError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    const QString& description() const { return description_; }

private:
    QString description_;
};

// The system help viewer. The caller names its window, the help file (8-bit
// path) and what to show; the viewer reports a help file it cannot find
// itself, and throws HelpError when the call fails.
class HelpViewer {
public:
    enum class Command : std::uint32_t { Contents = 3 };

    virtual ~HelpViewer() = default;
    virtual void showHelp(QWidget* window, const std::string& helpFile, Command command) = 0;
};

// Shows help as HTML pages in a help window with links, back and forward.
// A path that names a file it can show (HTML, Markdown, plain text) is shown
// as it is; otherwise the page of the same base name among the installed help
// pages is shown, so "A:\tarvex.hlp" leads to tarvex.html.
class HtmlHelpViewer final : public HelpViewer {
public:
    // `helpDirectories`: where installed help pages are looked for, in order.
    HtmlHelpViewer(MessageBox& messageBox, QStringList helpDirectories);
    ~HtmlHelpViewer() override;
    HtmlHelpViewer(const HtmlHelpViewer&) = delete;
    HtmlHelpViewer& operator=(const HtmlHelpViewer&) = delete;

    void showHelp(QWidget* window, const std::string& helpFile, Command command) override;

    // The page that showHelp() would open for `helpFile`; empty when there is none.
    QString pageFor(const QString& helpFile) const;
    // The help window once it has been opened, else null.
    HelpWindow* window() const { return window_.get(); }

private:
    MessageBox& messageBox_;
    QStringList directories_;
    std::unique_ptr<HelpWindow> window_;
};

} // namespace tarvex::platform
