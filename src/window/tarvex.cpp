// SPDX-License-Identifier: GPL-3.0-or-later

#include "tarvex.h"

#include "artwork.h"
#include "button_binding.h"
#include "command_host.h"
#include "layout_table.h"
#include "message_area.h"
#include "mode_buttons.h"
#include "shortcut_guard.h"
#include "window_state.h"

#include "i18n/translate.h"
#include "platform/program_title.h"
#include "platform/system_colour.h"
#include "platform/qt_text.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <map>
#include <vector>

namespace tarvex::window {

namespace {

using platform::qt;

// The table's English, in the session's language (see layout_table.h).
QString captionOf(const layout::ControlEntry& entry) {
    return qt(i18n::text("main window", entry.caption));
}

QString captionOf(const layout::MenuEntry& entry) {
    return qt(i18n::text("menu", entry.caption));
}

QString captionOf(const layout::MenuItemEntry& entry) {
    return qt(i18n::text("menu", entry.caption));
}

QFont fontFor(const layout::FontStyle& entry) {
    QFont font = QApplication::font();
    font.setPointSizeF(entry.pointSize);
    font.setBold(entry.bold);
    return font;
}

bool takesFocus(layout::Kind kind) {
    switch (kind) {
    case layout::Kind::ModeButton:
    case layout::Kind::Button:
    case layout::Kind::TextBox:
    case layout::Kind::MessageArea:
        return true;
    default:
        return false;
    }
}

ModeNumber modeOf(layout::Role role) {
    switch (role) {
    case layout::Role::IcqModeButton: return kIcqMode;
    case layout::Role::EmailModeButton: return kEmailMode;
    case layout::Role::FileModeButton: return kFileMode;
    default: return kNoMode;
    }
}

constexpr ModeNumber kModes[] = {kIcqMode, kEmailMode, kFileMode};

} // namespace

Tarvex::Tarvex(QWidget* parent) : QMainWindow(parent) {
    setObjectName(qt(layout::kWindowName));
    setWindowTitle(QString::fromUtf8(platform::kWindowCaption));
    setWindowIcon(artwork::windowIcon());
    // Fixed single border: a minimize button, no maximize.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    createActions();
    createControls();
    createMenus();
    guardShortcuts();
    connectCommands();
    connectStateHandlers();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    showStartState();
}

// Out of line: the command host is only declared in the header.
Tarvex::~Tarvex() = default;

QAction*& Tarvex::actionFor(layout::Command command) {
    using layout::Command;
    switch (command) {
    case Command::LoadTextFile: return loadTextFileAction_;
    case Command::SaveTextFile: return saveTextFileAction_;
    case Command::Exit: return exitAction_;
    case Command::Copy: return copyAction_;
    case Command::Paste: return pasteAction_;
    case Command::ClearText: return clearTextAction_;
    case Command::ClearClipboard: return clearClipboardAction_;
    case Command::LoadKey: return loadKeyAction_;
    case Command::CreateKey: return createKeyAction_;
    case Command::AgreeOnKey: return agreeOnKeyAction_;
    case Command::Encrypt: return encryptAction_;
    case Command::Decrypt: return decryptAction_;
    case Command::Seal: return sealAction_;
    case Command::IcqMode: return icqModeAction_;
    case Command::EmailMode: return emailModeAction_;
    case Command::FileMode: return fileModeAction_;
    case Command::Help: return helpAction_;
    case Command::About: return aboutAction_;
    case Command::None: break;
    }
    Q_UNREACHABLE();
}

ModeButton*& Tarvex::modeButtonFor(ModeNumber mode) {
    switch (mode) {
    case kIcqMode: return icqModeButton_;
    case kEmailMode: return emailModeButton_;
    default: return fileModeButton_;
    }
}

QAction* Tarvex::modeActionFor(ModeNumber mode) const {
    switch (mode) {
    case kIcqMode: return icqModeAction_;
    case kEmailMode: return emailModeAction_;
    default: return fileModeAction_;
    }
}

// The menu items of the table, before the buttons that are bound to them.
void Tarvex::createActions() {
    modeActions_ = new QActionGroup(this);
    modeActions_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (const layout::MenuEntry& menuEntry : layout::kMenus) {
        for (const layout::MenuItemEntry& itemEntry : menuEntry.items) {
            auto* action = new QAction(captionOf(itemEntry), this);
            action->setObjectName(qt(itemEntry.name));
            action->setShortcut(QKeySequence(qt(itemEntry.shortcut), QKeySequence::PortableText));
            action->setEnabled(itemEntry.enabled);
            action->setCheckable(itemEntry.checkable);
            action->setChecked(itemEntry.checked);
            actionFor(itemEntry.command) = action;
        }
    }
    for (const ModeNumber mode : kModes) {
        modeActions_->addAction(modeActionFor(mode));
    }
    // F1 opens help as in most programs, besides the item's own Ctrl+H.
    helpAction_->setShortcuts({helpAction_->shortcut(), QKeySequence(Qt::Key_F1)});
}

void Tarvex::createControls() {
    auto* clientArea = new QWidget(this);
    clientArea->setObjectName(QStringLiteral("clientArea"));
    clientArea->setFixedSize(layout::twipsToPixels(layout::kClientWidth),
                             layout::twipsToPixels(layout::kClientHeight));
    clientArea->setFont(fontFor(layout::kDefaultFont));
    setCentralWidget(clientArea);

    // A button whose access key is also a menu title's leaves Alt+letter to the
    // menu; it keeps its underlined letter.
    QList<QKeySequence> menuTitleKeys;
    for (const layout::MenuEntry& menuEntry : layout::kMenus) {
        menuTitleKeys.append(QKeySequence::mnemonic(captionOf(menuEntry)));
    }

    std::map<std::string_view, QWidget*> containers{{std::string_view{}, clientArea}};
    std::map<std::string_view, QButtonGroup*> modeGroups;
    std::vector<std::pair<int, QWidget*>> tabStops;

    for (const layout::ControlEntry& entry : layout::kControls) {
        QWidget* container = containers.at(entry.container);
        QWidget* widget = nullptr;
        QPushButton* button = nullptr;
        switch (entry.kind) {
        case layout::Kind::Frame: {
            auto* frame = new QGroupBox(captionOf(entry), container);
            containers.emplace(entry.name, frame);
            widget = frame;
            break;
        }
        case layout::Kind::ModeButton: {
            auto* modeButton = new ModeButton(captionOf(entry), container);
            modeButton->setChecked(entry.selected);
            auto [group, added] = modeGroups.try_emplace(entry.container, nullptr);
            if (added) {
                group->second = new QButtonGroup(container);
                group->second->setExclusive(true);
            }
            group->second->addButton(modeButton);
            modeButtonFor(modeOf(entry.role)) = modeButton;
            widget = button = modeButton;
            break;
        }
        case layout::Kind::Button:
            widget = button = new QPushButton(captionOf(entry), container);
            break;
        case layout::Kind::TextBox: {
            auto* box = new QLineEdit(container);
            box->setReadOnly(entry.readOnly);
            (entry.role == layout::Role::KeyPathBox ? keyPathBox_ : textFileNameBox_) = box;
            widget = box;
            break;
        }
        case layout::Kind::MessageArea:
            widget = messageArea_ = new MessageArea(container);
            break;
        case layout::Kind::Picture: {
            auto* picture = new QLabel(container);
            picture->setScaledContents(true);
            const QRect box = platform::toPixels(entry.rect);
            picture->setPixmap(artwork::logo(box.size(), devicePixelRatioF()));
            widget = picture;
            break;
        }
        case layout::Kind::Label:
            widget = new QLabel(captionOf(entry), container);
            break;
        }
        widget->setObjectName(qt(entry.name));
        // Right to left (Arabic), each control sits mirrored within its container.
        widget->setGeometry(QStyle::visualRect(layoutDirection(), container->rect(), platform::toPixels(entry.rect)));
        widget->setFont(fontFor(entry.font));
        widget->setToolTip(qt(i18n::text(entry.toolTip)));
        widget->setEnabled(entry.enabled);
        if (takesFocus(entry.kind)) {
            if (entry.tabStop) {
                tabStops.emplace_back(entry.tabIndex, widget);
            } else {
                widget->setFocusPolicy(Qt::ClickFocus);
            }
        }
        if (entry.background) {
            Q_ASSERT(entry.role == layout::Role::TextFileNameBox);
            setTextFileNameBackground(*entry.background);
        }
        if (button != nullptr && menuTitleKeys.contains(QKeySequence::mnemonic(button->text()))) {
            button->setShortcut(QKeySequence());
        }
        if (entry.role == layout::Role::LoadTextFileButton) {
            loadTextFileButton_ = button;
            connect(button, &QPushButton::clicked, this, &Tarvex::onLoadTextFile);
        } else if (entry.command != layout::Command::None) {
            bindButton(*button, *actionFor(entry.command));
        }
    }

    std::sort(tabStops.begin(), tabStops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i) {
        setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    }
}

void Tarvex::createMenus() {
    for (const layout::MenuEntry& menuEntry : layout::kMenus) {
        QMenu* menu = menuBar()->addMenu(captionOf(menuEntry));
        menu->setObjectName(qt(menuEntry.name));
        for (const layout::MenuItemEntry& itemEntry : menuEntry.items) {
            menu->addAction(actionFor(itemEntry.command));
        }
    }
}

void Tarvex::guardShortcuts() {
    QList<QKeySequence> menuKeys;
    QList<QKeySequence> menuKeysBesidesEditing;
    for (const layout::MenuEntry& menuEntry : layout::kMenus) {
        for (const layout::MenuItemEntry& itemEntry : menuEntry.items) {
            const QKeySequence key = actionFor(itemEntry.command)->shortcut();
            menuKeys.append(key);
            if (key != QKeySequence(QKeySequence::Copy) && key != QKeySequence(QKeySequence::Paste) &&
                key != QKeySequence(QKeySequence::Cut)) {
                menuKeysBesidesEditing.append(key);
            }
        }
    }
    // In the message area Ctrl+C, Ctrl+V and Ctrl+X edit the text; elsewhere
    // every menu shortcut runs its item.
    messageArea_->leaveShortcutsToWindow(menuKeysBesidesEditing);
    for (QLineEdit* box : {keyPathBox_, textFileNameBox_}) {
        box->installEventFilter(new ShortcutGuard(menuKeys, box));
    }
}

void Tarvex::connectStateHandlers() {
    connect(keyPathBox_, &QLineEdit::textChanged, this, &Tarvex::updateTextCommands);
    connect(messageArea_, &MessageArea::changed, this, &Tarvex::updateTextCommands);

    for (const ModeNumber mode : kModes) {
        // toggled(true) comes only from a button that was not selected.
        connect(modeButtonFor(mode), &QPushButton::toggled, this, [this, mode](bool selected) {
            if (selected) {
                onModeButtonSelected(mode);
            }
        });
        connect(modeActionFor(mode), &QAction::triggered, this, [this, mode] { onModeChosen(mode); });
    }
}

void Tarvex::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        setTextFileNameBackground(textFileNameBackground_);
    }
    QMainWindow::changeEvent(event);
}

bool Tarvex::keyChosen() const {
    return !keyPathBox_->text().isEmpty();
}

void Tarvex::setTextFileNameBackground(std::uint32_t colour) {
    textFileNameBackground_ = colour;
    QPalette colours = textFileNameBox_->palette();
    platform::setFieldBackground(colours, colour, palette());
    textFileNameBox_->setPalette(colours);
}

// ICQ is shown selected but not entered: the mode number stays 0 and no text
// limit applies until a mode is chosen.
void Tarvex::showStartState() {
    setModeMarks(kIcqMode);
    setModeButtons(kIcqMode);
    setTextFileCommandsEnabled(false);
    updateTextCommands();
}

void Tarvex::updateTextCommands() {
    // Quote markers and white space before a token are few: its start is in here.
    const secret::String text = messageArea_->leadingText(4096);
    const TextCommandStates states = textCommandStates(text, keyChosen(), currentMode_);
    saveTextFileAction_->setEnabled(states.saveTextFile);
    encryptAction_->setEnabled(states.encrypt);
    decryptAction_->setEnabled(states.decrypt);
    sealAction_->setEnabled(states.encrypt);
    clearTextAction_->setEnabled(states.clearText);
    pasteAction_->setEnabled(states.paste);
    copyAction_->setEnabled(states.copy);
}

void Tarvex::setTextFileCommandsEnabled(bool enabled) {
    loadTextFileAction_->setEnabled(enabled);
    loadTextFileButton_->setEnabled(enabled);
    saveTextFileAction_->setEnabled(enabled);
}

void Tarvex::applySaveRule() {
    saveTextFileAction_->setEnabled(saveTextFileEnabled(messageArea_->text(), currentMode_));
}

void Tarvex::onModeButtonSelected(ModeNumber mode) {
    enterMode(mode, ModeChosenBy::Button);
}

void Tarvex::onModeChosen(ModeNumber mode) {
    enterMode(mode, ModeChosenBy::Menu);
}

void Tarvex::enterMode(ModeNumber mode, ModeChosenBy by) {
    const ModeSettings settings = modeSettings(mode);
    const bool fileMode = mode == kFileMode;
    currentMode_ = settings.number;
    if (by == ModeChosenBy::Button) {
        messageArea_->setLimit(settings.textLimit);
        if (!fileMode) textFileNameBox_->clear();
    }
    setTextFileNameBackground(settings.fileNameBackground);
    textFileNameBox_->setEnabled(fileMode);
    setModeMarks(mode);
    // The menu runs the button's path here if the mode's button was not
    // selected yet; that path is what sets the text limit and empties the file name.
    if (by == ModeChosenBy::Menu) setModeButtons(mode);
    setTextFileCommandsEnabled(fileMode);
    if (fileMode) applySaveRule();
}

// The radio mark of the menu; the action group clears the others.
void Tarvex::setModeMarks(ModeNumber mode) {
    modeActionFor(mode)->setChecked(true);
}

void Tarvex::setModeButtons(ModeNumber mode) {
    for (const ModeNumber buttonMode : kModes) {
        if (buttonMode == mode) {
            selectModeButton(*modeButtonFor(buttonMode));
        } else {
            clearModeButton(*modeButtonFor(buttonMode));
        }
    }
}

} // namespace tarvex::window
