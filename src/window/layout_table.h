// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "i18n/marks.h"
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
//
// Captions and tooltips are the English texts, marked for the catalogue and
// translated where the window shows them: a control's caption in the context
// "main window", a menu's title and items in "menu" (a narrow button may need a
// shorter word than the menu item of the same command), a tooltip without one.
// The title (the program's name) is not translated.
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
    ControlEntry{.name = "Frame1", .role = Role::ModeFrame, .kind = Kind::Frame,
                .caption = NC_("main window", "Mode"),
                .rect = {120, 120, 3015, 1215}, .tabIndex = 0, .font = kFrameFont},
    ControlEntry{.name = "Frame2", .role = Role::ClipboardFrame, .kind = Kind::Frame,
                .caption = NC_("main window", "Clipboard"),
                .rect = {3240, 480, 2655, 855}, .tabIndex = 15, .font = kFrameFont},
    ControlEntry{.name = "Frame3", .role = Role::KeyFrame, .kind = Kind::Frame,
                .caption = NC_("main window", "Key"),
                .rect = {120, 1440, 6855, 615}, .tabIndex = 16, .font = kFrameFont},
    ControlEntry{.name = "Frame4", .role = Role::TextFileFrame, .kind = Kind::Frame,
                .caption = NC_("main window", "File"),
                .rect = {120, 2160, 6855, 615}, .tabIndex = 18, .font = kFrameFont},
    ControlEntry{.name = "Frame5", .role = Role::MessageFrame, .kind = Kind::Frame,
                .caption = NC_("main window", "Mesage Text"),
                .rect = {120, 2880, 6855, 2775}, .tabIndex = 20, .font = kFrameFont},

    ControlEntry{.name = "Option1", .role = Role::IcqModeButton, .kind = Kind::ModeButton, .container = "Frame1",
                .caption = NC_("main window", "&ICQ"),
                .rect = {120, 240, 855, 855}, .tabIndex = 1, .toolTip = N_("ICQ Mode"), .selected = true},
    ControlEntry{.name = "Option2", .role = Role::EmailModeButton, .kind = Kind::ModeButton, .container = "Frame1",
                .caption = NC_("main window", "E-&Mail"),
                .rect = {1080, 240, 855, 855}, .tabIndex = 2, .toolTip = N_("E-Mail Mode")},
    ControlEntry{.name = "Option3", .role = Role::FileModeButton, .kind = Kind::ModeButton, .container = "Frame1",
                .caption = NC_("main window", "&File"),
                .rect = {2040, 240, 855, 855}, .tabIndex = 3, .toolTip = N_("File Mode")},

    ControlEntry{.name = "Command1", .role = Role::CopyButton, .kind = Kind::Button, .container = "Frame2",
                .caption = NC_("main window", "&Copy"),
                .rect = {120, 240, 735, 495}, .tabIndex = 4, .toolTip = N_("Copy To Clipboard"),
                .enabled = false, .command = Command::Copy},
    ControlEntry{.name = "Command2", .role = Role::PasteButton, .kind = Kind::Button, .container = "Frame2",
                .caption = NC_("main window", "Paste"),
                .rect = {960, 240, 735, 495}, .tabIndex = 5, .toolTip = N_("Paste From Clipboard"),
                .command = Command::Paste},
    ControlEntry{.name = "Command3", .role = Role::ClearClipboardButton, .kind = Kind::Button, .container = "Frame2",
                .caption = NC_("main window", "Clear"),
                .rect = {1800, 240, 735, 495}, .tabIndex = 6, .toolTip = N_("Clear The Clipboard"),
                .command = Command::ClearClipboard},

    ControlEntry{.name = "Text1", .role = Role::KeyPathBox, .kind = Kind::TextBox, .container = "Frame3",
                .rect = {120, 240, 4935, 285}, .tabIndex = 17, .toolTip = N_("Key File Name"), .tabStop = false,
                .readOnly = true},
    ControlEntry{.name = "Command4", .role = Role::LoadKeyButton, .kind = Kind::Button, .container = "Frame3",
                .caption = NC_("main window", "L&oad"),
                .rect = {5160, 240, 735, 255}, .tabIndex = 7, .toolTip = N_("Load A Key"),
                .command = Command::LoadKey},
    ControlEntry{.name = "Command5", .role = Role::CreateKeyButton, .kind = Kind::Button, .container = "Frame3",
                .caption = NC_("main window", "C&reate"),
                .rect = {6000, 240, 735, 255}, .tabIndex = 8, .toolTip = N_("Create A New Key"),
                .command = Command::CreateKey},

    ControlEntry{.name = "Text2", .role = Role::TextFileNameBox, .kind = Kind::TextBox, .container = "Frame4",
                .rect = {120, 240, 4935, 285}, .tabIndex = 19, .toolTip = N_("Text File File Name"), .enabled = false,
                .tabStop = false, .background = platform::kMenuBackground},
    ControlEntry{.name = "Command7", .role = Role::LoadTextFileButton, .kind = Kind::Button, .container = "Frame4",
                .caption = NC_("main window", "&Load"),
                .rect = {5160, 240, 735, 255}, .tabIndex = 9, .toolTip = N_("Load A Text File"),
                .enabled = false, .command = Command::LoadTextFile},
    ControlEntry{.name = "Command6", .role = Role::SaveTextFileButton, .kind = Kind::Button, .container = "Frame4",
                .caption = NC_("main window", "&Save"),
                .rect = {6000, 240, 735, 255}, .tabIndex = 10, .toolTip = N_("Save A Text File"),
                .enabled = false, .command = Command::SaveTextFile},

    ControlEntry{.name = "Text3", .role = Role::MessageArea, .kind = Kind::MessageArea, .container = "Frame5",
                .rect = {120, 240, 6615, 2415}, .tabIndex = 11, .toolTip = N_("Text Message Area")},

    ControlEntry{.name = "Command9", .role = Role::EncryptButton, .kind = Kind::Button,
                .caption = NC_("main window", "&Encrypt"),
                .rect = {3480, 5760, 1095, 375}, .tabIndex = 12, .toolTip = N_("Encrypt Text"), .enabled = false,
                .command = Command::Encrypt},
    ControlEntry{.name = "Command8", .role = Role::DecryptButton, .kind = Kind::Button,
                .caption = NC_("main window", "&Decrypt"),
                .rect = {4680, 5760, 1095, 375}, .tabIndex = 13, .toolTip = N_("Decrypt Text"), .enabled = false,
                .command = Command::Decrypt},
    ControlEntry{.name = "Command10", .role = Role::ClearTextButton, .kind = Kind::Button,
                .caption = NC_("main window", "Clear &Text"),
                .rect = {5880, 5760, 1095, 375}, .tabIndex = 14, .toolTip = N_("Clear Text Area"), .enabled = false,
                .command = Command::ClearText},

    ControlEntry{.name = "Image1", .role = Role::Logo, .kind = Kind::Picture, .rect = {6000, 480, 960, 960}},
    ControlEntry{.name = "Label2", .role = Role::Title, .kind = Kind::Label, .caption = "Text Tarvex",
                .rect = {3360, 0, 3060, 300}, .font = kTitleFont},
    ControlEntry{.name = "Label1", .role = Role::Motto, .kind = Kind::Label,
                .caption = NC_("main window", "Private words, one shared key"), .rect = {120, 5880, 3135, 195}},
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
    MenuItemEntry{Command::LoadTextFile, "mnuFileLoad", NC_("menu", "&Load A Text File"), "Ctrl+L", false},
    MenuItemEntry{Command::SaveTextFile, "mnuFileSave", NC_("menu", "&Save A Text File"), "Ctrl+S", false},
    MenuItemEntry{Command::Exit, "mnuFileExit", NC_("menu", "E&xit"), "Ctrl+X"},
};
inline constexpr std::array kEditMenuItems = {
    MenuItemEntry{Command::Copy, "mnuEditCopy", NC_("menu", "&Copy To Clipboard"), "Ctrl+C", false},
    MenuItemEntry{Command::Paste, "mnuEditPaste", NC_("menu", "Paste From Clipboard"), "Ctrl+V"},
    MenuItemEntry{Command::ClearText, "mnuEditClear", NC_("menu", "Clear &Text"), "Ctrl+T", false},
    MenuItemEntry{Command::ClearClipboard, "mnuEditClip", NC_("menu", "Clear Clip&board"), "Ctrl+B"},
};
inline constexpr std::array kKeyMenuItems = {
    MenuItemEntry{Command::LoadKey, "mnuKeyLoad", NC_("menu", "L&oad A Key File"), "Ctrl+O"},
    MenuItemEntry{Command::CreateKey, "mnuKeyCreate", NC_("menu", "C&reate A Key File"), "Ctrl+R"},
    MenuItemEntry{Command::AgreeOnKey, "mnuKeyAgree", NC_("menu", "A&gree On A Key..."), "Ctrl+G"},
};
inline constexpr std::array kSecMenuItems = {
    MenuItemEntry{Command::Encrypt, "mnuSecEncrypt", NC_("menu", "&Encrypt"), "Ctrl+E", false},
    MenuItemEntry{Command::Decrypt, "mnuSecDecrypt", NC_("menu", "&Decrypt"), "Ctrl+D", false},
    MenuItemEntry{Command::Seal, "mnuSecSeal", NC_("menu", "&Seal"), "Ctrl+Shift+E", false},
};
inline constexpr std::array kModeMenuItems = {
    MenuItemEntry{Command::IcqMode, "mnuModeICQ", NC_("menu", "&ICQ"), "Ctrl+I", true, true, true},
    MenuItemEntry{Command::EmailMode, "mnuModeEmail", NC_("menu", "E-&Mail"), "Ctrl+M", true, true},
    MenuItemEntry{Command::FileMode, "mnuModeFile", NC_("menu", "&File"), "Ctrl+F", true, true},
};
inline constexpr std::array kHelpMenuItems = {
    MenuItemEntry{Command::Help, "mnuHelpTarvex", NC_("menu", "Tarvex &Help"), "Ctrl+H"},
    MenuItemEntry{Command::About, "mnuHelpAbout", NC_("menu", "&About Tarvex"), "Ctrl+A"},
};

// Left to right on the menu bar.
inline constexpr std::array kMenus = {
    MenuEntry{"mnuFile", NC_("menu", "&File"), kFileMenuItems},
    MenuEntry{"mnuEdit", NC_("menu", "&Edit"), kEditMenuItems},
    MenuEntry{"mnuKey", NC_("menu", "&Key"), kKeyMenuItems},
    MenuEntry{"mnuSec", NC_("menu", "&Security"), kSecMenuItems},
    MenuEntry{"mnuMode", NC_("menu", "&Mode"), kModeMenuItems},
    MenuEntry{"mnuHelp", NC_("menu", "&Help"), kHelpMenuItems},
};

inline constexpr std::string_view kWindowName = "Tarvex";

} // namespace tarvex::window::layout
