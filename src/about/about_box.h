// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QLabel;
class QPushButton;

namespace tarvex::platform {
class MessageBox;
class ProgramLauncher;
} // namespace tarvex::platform

namespace tarvex::about {

// What the System Info button needs of the platform.
struct SysInfoServices {
    platform::ProgramLauncher& launcher;
    platform::MessageBox& messageBox;
    // Where the system monitor is looked for; empty: the folders of PATH.
    QStringList monitorSearchPaths = {};
};

// The About box: title, version and description, and a button that starts the
// system information program. A window of its own, not owned by the main
// window, so an open box keeps the program running until it is closed.
class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(const SysInfoServices& services);

    // Starts the first system monitor installed (platform/system_monitor.h),
    // or says that it is unavailable.
    void startSystemInformation();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showUnavailable();
    // Where an element designed at `designed` goes: mirrored in a right-to-left box.
    QRect placed(const QRect& designed) const;
    // A label is at least as wide as designed, and wide enough for its text.
    void fitToText(QLabel& label);

    SysInfoServices services_;
    QLabel* titleLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* descriptionLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* systemInfoButton_ = nullptr;
};

// The one About box of the program: made when it is first shown, deleted
// when it is closed, made afresh when shown again.
class AboutBox {
public:
    explicit AboutBox(const SysInfoServices& services);
    ~AboutBox();
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    // Shows the box, modeless; a box that is open already comes to the front.
    void show();
    // The open box, or null.
    AboutDialog* current() const;

private:
    SysInfoServices services_;
    QPointer<AboutDialog> box_;
};

} // namespace tarvex::about
