// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "working_mode.h"

#include "about/about_commands.h"
#include "cipher/secure_uniform_source.h"
#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"

#include <QMainWindow>

#include <cstddef>
#include <cstdint>
#include <memory>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace tarvex::window {

class MessageArea;
enum class TextSource;
class Tarvex;
class WindowCommandHost;

namespace Module1 {
std::unique_ptr<Tarvex> LoadTarvex();
}

// The main window. Its controls and menu items carry their names as object
// names. Commands set the key path (`Text1`) or the message (`Text3`), and the
// change handlers bring every enabled flag up to date; the mode handlers do the
// rest. One command enables a control itself: a key made by Create Key makes
// the text-file Load button usable in every mode.
class Tarvex : public QMainWindow {
    Q_OBJECT
public:
    explicit Tarvex(QWidget* parent = nullptr);
    ~Tarvex() override;

    ModeNumber currentMode() const { return CurrentMode; }
    // The colour value last given to the text-file name box.
    std::uint32_t text2BackColor() const { return text2BackColor_; }

    // The shared file dialog and the message boxes; tests answer them through their seams.
    platform::FileDialog& commonDialog() { return CommonDialog1; }
    platform::MessageBox& messageBox() { return messageBox_; }

    // Makes the file the current key as if it had been picked with Load Key:
    // the same command runs with the dialog answered by `path`.
    void loadKeyFile(const QString& path);

protected:
    void changeEvent(QEvent* event) override;

private:
    friend std::unique_ptr<Tarvex> Module1::LoadTarvex();

    void Form_Load();
    void Text1_Change();
    void Text3_Change();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void mnuModeICQ_Click();
    void mnuModeEmail_Click();
    void mnuModeFile_Click();

    // Commands; each menu item runs its button's routine.
    void Command5_Click();
    void mnuKeyCreate_Click();
    void Command4_Click();
    void mnuKeyLoad_Click();
    void Command9_Click();
    void mnuSecEncrypt_Click();
    void Command8_Click();
    void mnuSecDecrypt_Click();
    void Command7_Click();
    void mnuFileLoad_Click();
    void Command6_Click();
    void mnuFileSave_Click();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Command1_Click();
    void mnuEditCopy_Click();
    void Command2_Click();
    void mnuEditPaste_Click();
    void Command3_Click();
    void mnuEditClip_Click();
    void Command10_Click();
    void mnuEditClear_Click();
    // A paste or drop into the message area that would pass its limit.
    void textRefused(TextSource source, std::size_t length, std::size_t room);
    void mnuFileExit_Click();
    void mnuHelpTarvex_Click();
    void mnuHelpAbout_Click();

    // The option path of ICQ and E-Mail, which differ only in their values.
    void enterMessageModeByOption(ModeNumber mode);
    // The menu path of ICQ and E-Mail.
    void enterMessageModeByMenu(ModeNumber mode);
    void setModeCheckMarks(ModeNumber mode);
    void setModeOptions(ModeNumber mode);
    void applySaveRule();
    void setText2Background(std::uint32_t colour);
    bool keyChosen() const;

    void createControls();
    void createMenus();
    void arrangeTabOrder();
    void guardShortcuts();
    void connectHandlers();
    void connectCommands();

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QPushButton* Option1 = nullptr;
    QPushButton* Option2 = nullptr;
    QPushButton* Option3 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command10 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    MessageArea* Text3 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* mnuKey = nullptr;
    QMenu* mnuSec = nullptr;
    QMenu* mnuMode = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuFileLoad = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileExit = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuEditClear = nullptr;
    QAction* mnuEditClip = nullptr;
    QAction* mnuKeyLoad = nullptr;
    QAction* mnuKeyCreate = nullptr;
    QAction* mnuSecEncrypt = nullptr;
    QAction* mnuSecDecrypt = nullptr;
    QAction* mnuModeICQ = nullptr;
    QAction* mnuModeEmail = nullptr;
    QAction* mnuModeFile = nullptr;
    QAction* mnuHelpTarvex = nullptr;
    QAction* mnuHelpAbout = nullptr;

    QButtonGroup* modeOptions_ = nullptr;

    ModeNumber CurrentMode = kNoMode;
    std::uint32_t text2BackColor_ = 0;

    platform::FileDialog CommonDialog1;
    platform::MessageBox messageBox_;
    platform::SystemClipboard clipboard_;
    SecureUniformSource randomSource_;
    SystemTimeOfDayClock clock_;
    std::unique_ptr<WindowCommandHost> commands_;
    // Exit, Help and About; after the message box it uses.
    about::Commands about_{messageBox_};
};

} // namespace tarvex::window
