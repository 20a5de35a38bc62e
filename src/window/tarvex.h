// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "layout_table.h"
#include "working_mode.h"

#include "about/about_commands.h"
#include "cipher/secure_uniform_source.h"
#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"

#include <QMainWindow>
#include <QPointer>

#include <cstddef>
#include <cstdint>
#include <memory>

class QAbstractButton;
class QAction;
class QActionGroup;
class QLineEdit;
class QPushButton;

namespace tarvex::window {

class KeyAgreementDialog;
class MessageArea;
class ModeButton;
enum class TextSource;
class WindowCommandHost;

// The main window, built from the layout table; its controls and menu items
// carry the table's names as object names. Every command is one QAction: the
// menu item, with its button bound to it. Commands set the key path or the
// message, and the change handlers bring every action up to date; the mode
// handlers do the rest. One command enables a control itself: a new key makes
// the Load button of the text-file box usable in every mode.
class Tarvex : public QMainWindow {
    Q_OBJECT
public:
    // The window in its start state, not shown.
    explicit Tarvex(QWidget* parent = nullptr);
    ~Tarvex() override;

    ModeNumber currentMode() const { return currentMode_; }
    // The colour value last given to the text-file name box.
    std::uint32_t textFileNameBackground() const { return textFileNameBackground_; }

    // The shared file dialog and the message boxes; tests answer them through their seams.
    platform::FileDialog& fileDialog() { return fileDialog_; }
    platform::MessageBox& messageBox() { return messageBox_; }

    // Makes the file the current key as if it had been picked with Load Key:
    // the same command runs with the dialog answered by `path`.
    void loadKeyFile(const QString& path);

protected:
    void changeEvent(QEvent* event) override;

private:
    void createActions();
    void createControls();
    void createMenus();
    void guardShortcuts();
    void connectCommands();
    void connectStateHandlers();
    void showStartState();
    QAction*& actionFor(layout::Command command);
    ModeButton*& modeButtonFor(ModeNumber mode);
    QAction* modeActionFor(ModeNumber mode) const;

    // Commands
    void onCreateKey();
    // Opens the Agree On A Key dialog, or brings the open one to the front.
    void onAgreeOnKey();
    void onLoadKey();
    void onEncrypt();
    void onDecrypt();
    void onSeal();
    void onLoadTextFile();
    void onSaveTextFile();
    void onCopy();
    void onPaste();
    void onClearClipboard();
    void onClearText();
    void onExit();
    void onHelp();
    void onAbout();
    // A paste or drop into the message area that would pass its limit.
    void onTextRefused(TextSource source, std::size_t length, std::size_t room);

    // Modes. A mode button entering its mode sets the text limit and, for ICQ
    // and E-Mail, empties the file name; a mode menu item selects the mode's
    // button (which runs the button's path if it was not selected yet) and
    // sets the rest itself.
    enum class ModeChosenBy { Button, Menu };
    void onModeButtonSelected(ModeNumber mode);
    void onModeChosen(ModeNumber mode);
    void enterMode(ModeNumber mode, ModeChosenBy by);
    void setModeMarks(ModeNumber mode);
    void setModeButtons(ModeNumber mode);

    // Enabled states
    void updateTextCommands();
    void setTextFileCommandsEnabled(bool enabled);
    void applySaveRule();
    void setTextFileNameBackground(std::uint32_t colour);
    bool keyChosen() const;

    ModeButton* icqModeButton_ = nullptr;
    ModeButton* emailModeButton_ = nullptr;
    ModeButton* fileModeButton_ = nullptr;
    QLineEdit* keyPathBox_ = nullptr;
    QLineEdit* textFileNameBox_ = nullptr;
    MessageArea* messageArea_ = nullptr;
    // Not bound to its action: Create Key enables this button in every mode
    // while the menu item keeps to File mode.
    QPushButton* loadTextFileButton_ = nullptr;

    QAction* loadTextFileAction_ = nullptr;
    QAction* saveTextFileAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* pasteAction_ = nullptr;
    QAction* clearTextAction_ = nullptr;
    QAction* clearClipboardAction_ = nullptr;
    QAction* loadKeyAction_ = nullptr;
    QAction* createKeyAction_ = nullptr;
    QAction* agreeOnKeyAction_ = nullptr;
    QAction* encryptAction_ = nullptr;
    QAction* decryptAction_ = nullptr;
    QAction* sealAction_ = nullptr;
    QAction* icqModeAction_ = nullptr;
    QAction* emailModeAction_ = nullptr;
    QAction* fileModeAction_ = nullptr;
    QAction* helpAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    // The three mode actions, shown with radio marks.
    QActionGroup* modeActions_ = nullptr;

    ModeNumber currentMode_ = kNoMode;
    std::uint32_t textFileNameBackground_ = 0;

    platform::FileDialog fileDialog_;
    platform::MessageBox messageBox_;
    platform::SystemClipboard clipboard_;
    cipher::SecureUniformSource randomSource_;
    cipher::SystemTimeOfDayClock clock_;
    std::unique_ptr<WindowCommandHost> commands_;
    // While open; it deletes itself when closed.
    QPointer<KeyAgreementDialog> agreementDialog_;
    // Exit, Help and About; after the message box it uses.
    about::Commands about_{messageBox_};
};

} // namespace tarvex::window
