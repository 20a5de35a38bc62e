// SPDX-License-Identifier: GPL-3.0-or-later

#include "tarvex.h"

#include "artwork.h"
#include "command_host.h"
#include "layout_table.h"
#include "message_area.h"
#include "option_buttons.h"
#include "shortcut_guard.h"
#include "window_state.h"

#include "platform/system_colour.h"

#include <QAction>
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

#include <algorithm>
#include <map>
#include <vector>

namespace tarvex::window {

namespace {

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont fontFor(const layout::FontStyle& entry) {
    QFont font = QApplication::font();
    font.setPointSizeF(entry.pointSize);
    font.setBold(entry.bold);
    return font;
}

bool takesFocus(layout::Kind kind) {
    switch (kind) {
    case layout::Kind::OptionButton:
    case layout::Kind::Button:
    case layout::Kind::TextBox:
    case layout::Kind::MessageArea:
        return true;
    default:
        return false;
    }
}

template <typename T>
T* childNamed(const QObject& parent, std::string_view name) {
    T* child = parent.findChild<T*>(qt(name));
    Q_ASSERT(child != nullptr);
    return child;
}

void setPairEnabled(bool enabled, QAction* item, QWidget* button) {
    item->setEnabled(enabled);
    button->setEnabled(enabled);
}

} // namespace

Tarvex::Tarvex(QWidget* parent) : QMainWindow(parent) {
    setObjectName(qt(layout::kWindowName));
    setWindowTitle(qt(layout::kWindowCaption));
    setWindowIcon(artwork::windowIcon());
    // Fixed single border: a minimize button, no maximize.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    createControls();
    createMenus();
    arrangeTabOrder();
    guardShortcuts();
    connectHandlers();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// Out of line: the command host is only declared in the header.
Tarvex::~Tarvex() = default;

void Tarvex::createControls() {
    auto* clientArea = new QWidget(this);
    clientArea->setObjectName(QStringLiteral("clientArea"));
    clientArea->setFixedSize(layout::twipsToPixels(layout::kClientWidth),
                             layout::twipsToPixels(layout::kClientHeight));
    clientArea->setFont(fontFor(layout::kDefaultFont));
    setCentralWidget(clientArea);

    std::map<std::string_view, QWidget*> containers{{std::string_view{}, clientArea}};
    std::map<std::string_view, QButtonGroup*> optionGroups;

    for (const layout::ControlEntry& entry : layout::kControls) {
        QWidget* container = containers.at(entry.container);
        QWidget* widget = nullptr;
        switch (entry.kind) {
        case layout::Kind::Frame: {
            auto* frame = new QGroupBox(qt(entry.caption), container);
            containers.emplace(entry.name, frame);
            widget = frame;
            break;
        }
        case layout::Kind::OptionButton: {
            auto* option = new QPushButton(qt(entry.caption), container);
            option->setCheckable(true);
            option->setChecked(entry.selected);
            auto [group, added] = optionGroups.try_emplace(entry.container, nullptr);
            if (added) {
                group->second = new QButtonGroup(container);
                group->second->setExclusive(true);
            }
            group->second->addButton(option);
            widget = option;
            break;
        }
        case layout::Kind::Button:
            widget = new QPushButton(qt(entry.caption), container);
            break;
        case layout::Kind::TextBox: {
            auto* box = new QLineEdit(container);
            box->setReadOnly(entry.readOnly);
            widget = box;
            break;
        }
        case layout::Kind::MessageArea:
            widget = new MessageArea(container);
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
            widget = new QLabel(qt(entry.caption), container);
            break;
        }
        widget->setObjectName(qt(entry.name));
        widget->setGeometry(platform::toPixels(entry.rect));
        widget->setFont(fontFor(entry.font));
        widget->setToolTip(qt(entry.toolTip));
        widget->setEnabled(entry.enabled);
        if (takesFocus(entry.kind) && !entry.tabStop) {
            widget->setFocusPolicy(Qt::ClickFocus);
        }
    }

    Frame1 = childNamed<QGroupBox>(*this, "Frame1");
    Frame2 = childNamed<QGroupBox>(*this, "Frame2");
    Frame3 = childNamed<QGroupBox>(*this, "Frame3");
    Frame4 = childNamed<QGroupBox>(*this, "Frame4");
    Frame5 = childNamed<QGroupBox>(*this, "Frame5");
    Option1 = childNamed<QPushButton>(*this, "Option1");
    Option2 = childNamed<QPushButton>(*this, "Option2");
    Option3 = childNamed<QPushButton>(*this, "Option3");
    Command1 = childNamed<QPushButton>(*this, "Command1");
    Command2 = childNamed<QPushButton>(*this, "Command2");
    Command3 = childNamed<QPushButton>(*this, "Command3");
    Command4 = childNamed<QPushButton>(*this, "Command4");
    Command5 = childNamed<QPushButton>(*this, "Command5");
    Command6 = childNamed<QPushButton>(*this, "Command6");
    Command7 = childNamed<QPushButton>(*this, "Command7");
    Command8 = childNamed<QPushButton>(*this, "Command8");
    Command9 = childNamed<QPushButton>(*this, "Command9");
    Command10 = childNamed<QPushButton>(*this, "Command10");
    Text1 = childNamed<QLineEdit>(*this, "Text1");
    Text2 = childNamed<QLineEdit>(*this, "Text2");
    Text3 = childNamed<MessageArea>(*this, "Text3");
    Image1 = childNamed<QLabel>(*this, "Image1");
    Label1 = childNamed<QLabel>(*this, "Label1");
    Label2 = childNamed<QLabel>(*this, "Label2");
    modeOptions_ = Option1->group();

    for (const layout::ControlEntry& entry : layout::kControls) {
        if (entry.background) {
            Q_ASSERT(entry.name == "Text2");
            setText2Background(*entry.background);
        }
    }
}

void Tarvex::createMenus() {
    for (const layout::MenuEntry& menuEntry : layout::kMenus) {
        QMenu* menu = menuBar()->addMenu(qt(menuEntry.caption));
        menu->setObjectName(qt(menuEntry.name));
        for (const layout::MenuItemEntry& itemEntry : menuEntry.items) {
            QAction* item = menu->addAction(qt(itemEntry.caption));
            item->setObjectName(qt(itemEntry.name));
            item->setShortcut(QKeySequence(qt(itemEntry.shortcut), QKeySequence::PortableText));
            item->setEnabled(itemEntry.enabled);
            item->setCheckable(itemEntry.checkable);
            item->setChecked(itemEntry.checked);
        }
    }

    mnuFile = childNamed<QMenu>(*this, "mnuFile");
    mnuEdit = childNamed<QMenu>(*this, "mnuEdit");
    mnuKey = childNamed<QMenu>(*this, "mnuKey");
    mnuSec = childNamed<QMenu>(*this, "mnuSec");
    mnuMode = childNamed<QMenu>(*this, "mnuMode");
    mnuHelp = childNamed<QMenu>(*this, "mnuHelp");
    mnuFileLoad = childNamed<QAction>(*this, "mnuFileLoad");
    mnuFileSave = childNamed<QAction>(*this, "mnuFileSave");
    mnuFileExit = childNamed<QAction>(*this, "mnuFileExit");
    mnuEditCopy = childNamed<QAction>(*this, "mnuEditCopy");
    mnuEditPaste = childNamed<QAction>(*this, "mnuEditPaste");
    mnuEditClear = childNamed<QAction>(*this, "mnuEditClear");
    mnuEditClip = childNamed<QAction>(*this, "mnuEditClip");
    mnuKeyLoad = childNamed<QAction>(*this, "mnuKeyLoad");
    mnuKeyCreate = childNamed<QAction>(*this, "mnuKeyCreate");
    mnuSecEncrypt = childNamed<QAction>(*this, "mnuSecEncrypt");
    mnuSecDecrypt = childNamed<QAction>(*this, "mnuSecDecrypt");
    mnuModeICQ = childNamed<QAction>(*this, "mnuModeICQ");
    mnuModeEmail = childNamed<QAction>(*this, "mnuModeEmail");
    mnuModeFile = childNamed<QAction>(*this, "mnuModeFile");
    mnuHelpTarvex = childNamed<QAction>(*this, "mnuHelpTarvex");
    mnuHelpAbout = childNamed<QAction>(*this, "mnuHelpAbout");
    // F1 opens help as in most programs, besides the item's own Ctrl+H.
    mnuHelpTarvex->setShortcuts({mnuHelpTarvex->shortcut(), QKeySequence(Qt::Key_F1)});

    // A button whose access key is also a menu title's leaves Alt+letter to the
    // menu; it keeps its underlined letter.
    QList<QKeySequence> menuTitleKeys;
    for (const QAction* title : menuBar()->actions()) {
        menuTitleKeys.append(QKeySequence::mnemonic(title->text()));
    }
    for (QPushButton* button : centralWidget()->findChildren<QPushButton*>()) {
        if (menuTitleKeys.contains(QKeySequence::mnemonic(button->text()))) {
            button->setShortcut(QKeySequence());
        }
    }
}

void Tarvex::arrangeTabOrder() {
    std::vector<std::pair<int, QWidget*>> stops;
    for (const layout::ControlEntry& entry : layout::kControls) {
        if (takesFocus(entry.kind) && entry.tabStop) {
            stops.emplace_back(entry.tabIndex, childNamed<QWidget>(*this, entry.name));
        }
    }
    std::sort(stops.begin(), stops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < stops.size(); ++i) {
        setTabOrder(stops[i - 1].second, stops[i].second);
    }
}

void Tarvex::guardShortcuts() {
    QList<QKeySequence> menuKeys;
    QList<QKeySequence> menuKeysBesidesEditing;
    for (const QAction* item : findChildren<QAction*>()) {
        const QKeySequence key = item->shortcut();
        if (key.isEmpty()) {
            continue;
        }
        menuKeys.append(key);
        const bool editing = key == QKeySequence(QKeySequence::Copy) || key == QKeySequence(QKeySequence::Paste) ||
                             key == QKeySequence(QKeySequence::Cut);
        if (!editing) {
            menuKeysBesidesEditing.append(key);
        }
    }
    // In the message area Ctrl+C, Ctrl+V and Ctrl+X edit the text; elsewhere
    // every menu shortcut runs its item.
    Text3->leaveShortcutsToWindow(menuKeysBesidesEditing);
    for (QLineEdit* box : {Text1, Text2}) {
        box->installEventFilter(new ShortcutGuard(menuKeys, box));
    }
}

void Tarvex::connectHandlers() {
    connect(Text1, &QLineEdit::textChanged, this, &Tarvex::Text1_Change);
    connect(Text3, &MessageArea::changed, this, &Tarvex::Text3_Change);

    // toggled(true) comes only from a button that was not selected.
    const auto onSelected = [this](QPushButton* option, void (Tarvex::*handler)()) {
        connect(option, &QPushButton::toggled, this, [this, handler](bool selected) {
            if (selected) {
                (this->*handler)();
            }
        });
    };
    onSelected(Option1, &Tarvex::Option1_Click);
    onSelected(Option2, &Tarvex::Option2_Click);
    onSelected(Option3, &Tarvex::Option3_Click);

    connect(mnuModeICQ, &QAction::triggered, this, &Tarvex::mnuModeICQ_Click);
    connect(mnuModeEmail, &QAction::triggered, this, &Tarvex::mnuModeEmail_Click);
    connect(mnuModeFile, &QAction::triggered, this, &Tarvex::mnuModeFile_Click);
    connectCommands();
}

void Tarvex::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        setText2Background(text2BackColor_);
    }
    QMainWindow::changeEvent(event);
}

bool Tarvex::keyChosen() const {
    return !Text1->text().isEmpty();
}

void Tarvex::setText2Background(std::uint32_t colour) {
    text2BackColor_ = colour;
    QPalette colours = Text2->palette();
    platform::setFieldBackground(colours, colour, palette());
    Text2->setPalette(colours);
}

void Tarvex::Form_Load() {
    const bool empty = Text3->isEmpty();
    Command9->setEnabled(false);
    Command8->setEnabled(false);
    setPairEnabled(!empty, mnuEditClear, Command10);
    setPairEnabled(empty, mnuEditPaste, Command2);
    setPairEnabled(!empty, mnuEditCopy, Command1);
    Command7->setEnabled(false);
    Command6->setEnabled(false);
    setModeCheckMarks(kIcqMode);
    setModeOptions(kIcqMode);
    mnuFileLoad->setEnabled(false);
    mnuFileSave->setEnabled(false);
}

void Tarvex::Text1_Change() {
    if (!keyChosen()) {
        Command9->setEnabled(false);
        Command8->setEnabled(false);
    }
    Text3_Change();
}

void Tarvex::Text3_Change() {
    const std::string text = Text3->text();
    const TextCommandStates states = textCommandStates(text, keyChosen(), CurrentMode);
    setPairEnabled(states.saveTextFile, mnuFileSave, Command6);
    setPairEnabled(states.encrypt, mnuSecEncrypt, Command9);
    setPairEnabled(states.decrypt, mnuSecDecrypt, Command8);
    setPairEnabled(states.clearText, mnuEditClear, Command10);
    setPairEnabled(states.paste, mnuEditPaste, Command2);
    setPairEnabled(states.copy, mnuEditCopy, Command1);
}

void Tarvex::Option1_Click() {
    enterMessageModeByOption(kIcqMode);
}

void Tarvex::Option2_Click() {
    enterMessageModeByOption(kEmailMode);
}

void Tarvex::Option3_Click() {
    const ModeSettings file = modeSettings(kFileMode);
    CurrentMode = file.number;
    Text3->setLimit(file.textLimit);
    setText2Background(file.fileNameBackground);
    Text2->setEnabled(true);
    setModeCheckMarks(kFileMode);
    mnuFileLoad->setEnabled(true);
    mnuFileSave->setEnabled(true);
    Command7->setEnabled(true);
    applySaveRule();
}

void Tarvex::mnuModeICQ_Click() {
    enterMessageModeByMenu(kIcqMode);
}

void Tarvex::mnuModeEmail_Click() {
    enterMessageModeByMenu(kEmailMode);
}

void Tarvex::mnuModeFile_Click() {
    const ModeSettings file = modeSettings(kFileMode);
    CurrentMode = file.number;
    setText2Background(file.fileNameBackground);
    Text2->setEnabled(true);
    setModeCheckMarks(kFileMode);
    // Runs Option3_Click here if File was not selected yet.
    setModeOptions(kFileMode);
    mnuFileLoad->setEnabled(true);
    mnuFileSave->setEnabled(true);
    Command7->setEnabled(true);
    Command6->setEnabled(true);
    applySaveRule();
}

void Tarvex::enterMessageModeByOption(ModeNumber mode) {
    const ModeSettings settings = modeSettings(mode);
    CurrentMode = settings.number;
    Text3->setLimit(settings.textLimit);
    Text2->clear();
    Text2->setEnabled(false);
    setModeCheckMarks(mode);
    mnuFileLoad->setEnabled(false);
    mnuFileSave->setEnabled(false);
    setText2Background(settings.fileNameBackground);
    Text2->setEnabled(false);
    Command7->setEnabled(false);
    Command6->setEnabled(false);
}

void Tarvex::enterMessageModeByMenu(ModeNumber mode) {
    const ModeSettings settings = modeSettings(mode);
    CurrentMode = settings.number;
    setText2Background(settings.fileNameBackground);
    Text2->setEnabled(false);
    setModeCheckMarks(mode);
    // Runs the option path here if the mode's button was not selected yet;
    // that path is what sets the text limit and empties the file name.
    setModeOptions(mode);
    mnuFileLoad->setEnabled(false);
    mnuFileSave->setEnabled(false);
    Command7->setEnabled(false);
    Command6->setEnabled(false);
}

void Tarvex::setModeCheckMarks(ModeNumber mode) {
    mnuModeICQ->setChecked(mode == kIcqMode);
    mnuModeEmail->setChecked(mode == kEmailMode);
    mnuModeFile->setChecked(mode == kFileMode);
}

void Tarvex::setModeOptions(ModeNumber mode) {
    const std::pair<QPushButton*, ModeNumber> options[] = {
        {Option1, kIcqMode}, {Option2, kEmailMode}, {Option3, kFileMode}};
    for (const auto& [option, optionMode] : options) {
        if (optionMode == mode) {
            selectOption(*option);
        } else {
            clearOption(*option);
        }
    }
}

void Tarvex::applySaveRule() {
    setPairEnabled(saveTextFileEnabled(Text3->text(), CurrentMode), mnuFileSave, Command6);
}

} // namespace tarvex::window
