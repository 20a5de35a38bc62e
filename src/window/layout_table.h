// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/system_colour.h"
#include "platform/twips.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// What the main window is made of, as data: every frame and control with its
// geometry in twips, and every menu with its items. The names are the Qt
// object names; what a control is and which command a button or menu item
// runs are the role and command fields.
namespace tarvex::window::layout {

using platform::kTwipsPerPixel;
using platform::twipsToPixels;
using platform::TwipsRect;

inline constexpr int kClientWidth = 7020;
inline constexpr int kClientHeight = 6210;

enum class Kind {
    Frame,
    ModeButton,   // a push button that stays pressed, exclusive within its frame
    Button,
    TextBox,      // one line
    MessageArea,  // the multi-line message text
    Picture,
    Label,
};

// What a control is.
enum class Role {
    ModeFrame,
    ClipboardFrame,
    KeyFrame,
    TextFileFrame,
    MessageFrame,
    IcqModeButton,
    EmailModeButton,
    FileModeButton,
    CopyButton,
    PasteButton,
    ClearClipboardButton,
    KeyPathBox,
    LoadKeyButton,
    CreateKeyButton,
    TextFileNameBox,
    LoadTextFileButton,
    SaveTextFileButton,
    MessageArea,
    EncryptButton,
    DecryptButton,
    ClearTextButton,
    Logo,
    Title,
    Motto,
};

// What a menu item does; a button with a command does the same.
enum class Command {
    None,
    LoadTextFile,
    SaveTextFile,
    Exit,
    Copy,
    Paste,
    ClearText,
    ClearClipboard,
    LoadKey,
    CreateKey,
    AgreeOnKey,
    Encrypt,
    Decrypt,
    Seal,
    IcqMode,
    EmailMode,
    FileMode,
    Help,
    About,
};

struct FontStyle {
    double pointSize = 8.25;
    bool bold = false;
};

inline constexpr FontStyle kDefaultFont{};
inline constexpr FontStyle kFrameFont{.pointSize = 8.25, .bold = true};
inline constexpr FontStyle kTitleFont{.pointSize = 12.0, .bold = true};

inline constexpr int kNoTabIndex = -1;

struct ControlEntry {
    std::string_view name;
    Role role;
    Kind kind;
    std::string_view container; // empty: the window's client area
    std::string_view caption;   // '&' marks the access key
    TwipsRect rect;
    int tabIndex = kNoTabIndex;
    std::string_view toolTip;
    FontStyle font = kDefaultFont;
    bool enabled = true;
    bool selected = false;  // mode buttons
    bool tabStop = true;
    bool readOnly = false;  // text boxes
    std::optional<std::uint32_t> background;
    Command command = Command::None; // buttons
};

// Containers come before what they hold.
inline constexpr std::array kControls = {
    ControlEntry{.name = "Frame1", .role = Role::ModeFrame, .kind = Kind::Frame, .caption = "Mode",
                .rect = {120, 120, 3015, 1215}, .tabIndex = 0, .font = kFrameFont},
    ControlEntry{.name = "Frame2", .role = Role::ClipboardFrame, .kind = Kind::Frame, .caption = "Clipboard",
                .rect = {3240, 480, 2655, 855}, .tabIndex = 15, .font = kFrameFont},
    ControlEntry{.name = "Frame3", .role = Role::KeyFrame, .kind = Kind::Frame, .caption = "Key",
                .rect = {120, 1440, 6855, 615}, .tabIndex = 16, .font = kFrameFont},
    ControlEntry{.name = "Frame4", .role = Role::TextFileFrame, .kind = Kind::Frame, .caption = "File",
                .rect = {120, 2160, 6855, 615}, .tabIndex = 18, .font = kFrameFont},
    ControlEntry{.name = "Frame5", .role = Role::MessageFrame, .kind = Kind::Frame, .caption = "Mesage Text",
                .rect = {120, 2880, 6855, 2775}, .tabIndex = 20, .font = kFrameFont},

    ControlEntry{.name = "Option1", .role = Role::IcqModeButton, .kind = Kind::ModeButton, .container = "Frame1",
                .caption = "&ICQ", .rect = {120, 240, 855, 855}, .tabIndex = 1, .toolTip = "ICQ Mode",
                .selected = true},
    ControlEntry{.name = "Option2", .role = Role::EmailModeButton, .kind = Kind::ModeButton, .container = "Frame1",
                .caption = "E-&Mail", .rect = {1080, 240, 855, 855}, .tabIndex = 2, .toolTip = "E-Mail Mode"},
    ControlEntry{.name = "Option3", .role = Role::FileModeButton, .kind = Kind::ModeButton, .container = "Frame1",
                .caption = "&File", .rect = {2040, 240, 855, 855}, .tabIndex = 3, .toolTip = "File Mode"},

    ControlEntry{.name = "Command1", .role = Role::CopyButton, .kind = Kind::Button, .container = "Frame2",
                .caption = "&Copy", .rect = {120, 240, 735, 495}, .tabIndex = 4, .toolTip = "Copy To Clipboard",
                .enabled = false, .command = Command::Copy},
    ControlEntry{.name = "Command2", .role = Role::PasteButton, .kind = Kind::Button, .container = "Frame2",
                .caption = "Paste", .rect = {960, 240, 735, 495}, .tabIndex = 5, .toolTip = "Paste From Clipboard",
                .command = Command::Paste},
    ControlEntry{.name = "Command3", .role = Role::ClearClipboardButton, .kind = Kind::Button, .container = "Frame2",
                .caption = "Clear", .rect = {1800, 240, 735, 495}, .tabIndex = 6, .toolTip = "Clear The Clipboard",
                .command = Command::ClearClipboard},

    ControlEntry{.name = "Text1", .role = Role::KeyPathBox, .kind = Kind::TextBox, .container = "Frame3",
                .rect = {120, 240, 4935, 285}, .tabIndex = 17, .toolTip = "Key File Name", .tabStop = false,
                .readOnly = true},
    ControlEntry{.name = "Command4", .role = Role::LoadKeyButton, .kind = Kind::Button, .container = "Frame3",
                .caption = "L&oad", .rect = {5160, 240, 735, 255}, .tabIndex = 7, .toolTip = "Load A Key",
                .command = Command::LoadKey},
    ControlEntry{.name = "Command5", .role = Role::CreateKeyButton, .kind = Kind::Button, .container = "Frame3",
                .caption = "C&reate", .rect = {6000, 240, 735, 255}, .tabIndex = 8, .toolTip = "Create A New Key",
                .command = Command::CreateKey},

    ControlEntry{.name = "Text2", .role = Role::TextFileNameBox, .kind = Kind::TextBox, .container = "Frame4",
                .rect = {120, 240, 4935, 285}, .tabIndex = 19, .toolTip = "Text File File Name", .enabled = false,
                .tabStop = false, .background = platform::kMenuBackground},
    ControlEntry{.name = "Command7", .role = Role::LoadTextFileButton, .kind = Kind::Button, .container = "Frame4",
                .caption = "&Load", .rect = {5160, 240, 735, 255}, .tabIndex = 9, .toolTip = "Load A Text File",
                .enabled = false, .command = Command::LoadTextFile},
    ControlEntry{.name = "Command6", .role = Role::SaveTextFileButton, .kind = Kind::Button, .container = "Frame4",
                .caption = "&Save", .rect = {6000, 240, 735, 255}, .tabIndex = 10, .toolTip = "Save A Text File",
                .enabled = false, .command = Command::SaveTextFile},

    ControlEntry{.name = "Text3", .role = Role::MessageArea, .kind = Kind::MessageArea, .container = "Frame5",
                .rect = {120, 240, 6615, 2415}, .tabIndex = 11, .toolTip = "Text Message Area"},

    ControlEntry{.name = "Command9", .role = Role::EncryptButton, .kind = Kind::Button, .caption = "&Encrypt",
                .rect = {3480, 5760, 1095, 375}, .tabIndex = 12, .toolTip = "Encrypt Text", .enabled = false,
                .command = Command::Encrypt},
    ControlEntry{.name = "Command8", .role = Role::DecryptButton, .kind = Kind::Button, .caption = "&Decrypt",
                .rect = {4680, 5760, 1095, 375}, .tabIndex = 13, .toolTip = "Decrypt Text", .enabled = false,
                .command = Command::Decrypt},
    ControlEntry{.name = "Command10", .role = Role::ClearTextButton, .kind = Kind::Button, .caption = "Clear &Text",
                .rect = {5880, 5760, 1095, 375}, .tabIndex = 14, .toolTip = "Clear Text Area", .enabled = false,
                .command = Command::ClearText},

    ControlEntry{.name = "Image1", .role = Role::Logo, .kind = Kind::Picture, .rect = {6000, 480, 960, 960}},
    ControlEntry{.name = "Label2", .role = Role::Title, .kind = Kind::Label, .caption = "Text Tarvex",
                .rect = {3360, 0, 3060, 300}, .font = kTitleFont},
    ControlEntry{.name = "Label1", .role = Role::Motto, .kind = Kind::Label, .caption = "Private words, one shared key",
                .rect = {120, 5880, 3135, 195}},
};

struct MenuItemEntry {
    Command command;
    std::string_view name;
    std::string_view caption;
    std::string_view shortcut; // portable text, e.g. "Ctrl+L"
    bool enabled = true;
    bool checkable = false;    // carries a check mark when checked
    bool checked = false;
};

struct MenuEntry {
    std::string_view name;
    std::string_view caption;
    std::span<const MenuItemEntry> items;
};

inline constexpr std::array kFileMenuItems = {
    MenuItemEntry{Command::LoadTextFile, "mnuFileLoad", "&Load A Text File", "Ctrl+L", false},
    MenuItemEntry{Command::SaveTextFile, "mnuFileSave", "&Save A Text File", "Ctrl+S", false},
    MenuItemEntry{Command::Exit, "mnuFileExit", "E&xit", "Ctrl+X"},
};
inline constexpr std::array kEditMenuItems = {
    MenuItemEntry{Command::Copy, "mnuEditCopy", "&Copy To Clipboard", "Ctrl+C", false},
    MenuItemEntry{Command::Paste, "mnuEditPaste", "Paste From Clipboard", "Ctrl+V"},
    MenuItemEntry{Command::ClearText, "mnuEditClear", "Clear &Text", "Ctrl+T", false},
    MenuItemEntry{Command::ClearClipboard, "mnuEditClip", "Clear Clip&board", "Ctrl+B"},
};
inline constexpr std::array kKeyMenuItems = {
    MenuItemEntry{Command::LoadKey, "mnuKeyLoad", "L&oad A Key File", "Ctrl+O"},
    MenuItemEntry{Command::CreateKey, "mnuKeyCreate", "C&reate A Key File", "Ctrl+R"},
    MenuItemEntry{Command::AgreeOnKey, "mnuKeyAgree", "A&gree On A Key...", "Ctrl+G"},
};
inline constexpr std::array kSecMenuItems = {
    MenuItemEntry{Command::Encrypt, "mnuSecEncrypt", "&Encrypt", "Ctrl+E", false},
    MenuItemEntry{Command::Decrypt, "mnuSecDecrypt", "&Decrypt", "Ctrl+D", false},
    MenuItemEntry{Command::Seal, "mnuSecSeal", "&Seal", "Ctrl+Shift+E", false},
};
inline constexpr std::array kModeMenuItems = {
    MenuItemEntry{Command::IcqMode, "mnuModeICQ", "&ICQ", "Ctrl+I", true, true, true},
    MenuItemEntry{Command::EmailMode, "mnuModeEmail", "E-&Mail", "Ctrl+M", true, true},
    MenuItemEntry{Command::FileMode, "mnuModeFile", "&File", "Ctrl+F", true, true},
};
inline constexpr std::array kHelpMenuItems = {
    MenuItemEntry{Command::Help, "mnuHelpTarvex", "Tarvex &Help", "Ctrl+H"},
    MenuItemEntry{Command::About, "mnuHelpAbout", "&About Tarvex", "Ctrl+A"},
};

// Left to right on the menu bar.
inline constexpr std::array kMenus = {
    MenuEntry{"mnuFile", "&File", kFileMenuItems},
    MenuEntry{"mnuEdit", "&Edit", kEditMenuItems},
    MenuEntry{"mnuKey", "&Key", kKeyMenuItems},
    MenuEntry{"mnuSec", "&Security", kSecMenuItems},
    MenuEntry{"mnuMode", "&Mode", kModeMenuItems},
    MenuEntry{"mnuHelp", "&Help", kHelpMenuItems},
};

inline constexpr std::string_view kWindowName = "Tarvex";

} // namespace tarvex::window::layout
