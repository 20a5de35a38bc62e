// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace tarvex::window::test {
namespace {

struct ControlRow {
    const char* name;
    const char* caption;
    const char* toolTip;
};

constexpr ControlRow kControls[] = {
    {"Frame1", "Mode", ""},
    {"Frame2", "Clipboard", ""},
    {"Frame3", "Key", ""},
    {"Frame4", "File", ""},
    {"Frame5", "Mesage Text", ""},
    {"Option1", "&ICQ", "ICQ Mode"},
    {"Option2", "E-&Mail", "E-Mail Mode"},
    {"Option3", "&File", "File Mode"},
    {"Command1", "&Copy", "Copy To Clipboard"},
    {"Command2", "Paste", "Paste From Clipboard"},
    {"Command3", "Clear", "Clear The Clipboard"},
    {"Text1", "", "Key File Name"},
    {"Command4", "L&oad", "Load A Key"},
    {"Command5", "C&reate", "Create A New Key"},
    {"Text2", "", "Text File File Name"},
    {"Command7", "&Load", "Load A Text File"},
    {"Command6", "&Save", "Save A Text File"},
    {"Text3", "", "Text Message Area"},
    {"Command9", "&Encrypt", "Encrypt Text"},
    {"Command8", "&Decrypt", "Decrypt Text"},
    {"Command10", "Clear &Text", "Clear Text Area"},
    {"Image1", "", ""},
};

QString captionOf(const QWidget& widget) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(&widget)) return frame->title();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
    if (const auto* box = qobject_cast<const QLineEdit*>(&widget)) return box->text();
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->text();
    return {};
}

TEST(Layout, CaptionsAndToolTips) {
    const auto window = loadWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Text Tarvex - v1.1"));
    EXPECT_EQ(window->objectName(), QStringLiteral("Tarvex"));
    for (const ControlRow& row : kControls) {
        const auto& widget = control<QWidget>(*window, row.name);
        EXPECT_EQ(captionOf(widget), QString::fromLatin1(row.caption)) << row.name;
        EXPECT_EQ(widget.toolTip(), QString::fromLatin1(row.toolTip)) << row.name;
    }
    EXPECT_FALSE(control<QLabel>(*window, "Label1").text().isEmpty());
    EXPECT_FALSE(control<QLabel>(*window, "Label2").text().isEmpty());
    EXPECT_FALSE(control<QLabel>(*window, "Image1").pixmap().isNull());
    EXPECT_FALSE(window->windowIcon().pixmap(32, 32).isNull());
}

struct MenuItemRow {
    const char* menu;
    const char* name;
    const char* caption;
    const char* shortcut;
};

constexpr MenuItemRow kMenuItems[] = {
    {"mnuFile", "mnuFileLoad", "&Load A Text File", "Ctrl+L"},
    {"mnuFile", "mnuFileSave", "&Save A Text File", "Ctrl+S"},
    {"mnuFile", "mnuFileExit", "E&xit", "Ctrl+X"},
    {"mnuEdit", "mnuEditCopy", "&Copy To Clipboard", "Ctrl+C"},
    {"mnuEdit", "mnuEditPaste", "Paste From Clipboard", "Ctrl+V"},
    {"mnuEdit", "mnuEditClear", "Clear &Text", "Ctrl+T"},
    {"mnuEdit", "mnuEditClip", "Clear Clip&board", "Ctrl+B"},
    {"mnuKey", "mnuKeyLoad", "L&oad A Key File", "Ctrl+O"},
    {"mnuKey", "mnuKeyCreate", "C&reate A Key File", "Ctrl+R"},
    {"mnuKey", "mnuKeyAgree", "A&gree On A Key...", "Ctrl+G"},
    {"mnuSec", "mnuSecEncrypt", "&Encrypt", "Ctrl+E"},
    {"mnuSec", "mnuSecDecrypt", "&Decrypt", "Ctrl+D"},
    {"mnuSec", "mnuSecSeal", "&Seal", "Ctrl+Shift+E"},
    {"mnuMode", "mnuModeICQ", "&ICQ", "Ctrl+I"},
    {"mnuMode", "mnuModeEmail", "E-&Mail", "Ctrl+M"},
    {"mnuMode", "mnuModeFile", "&File", "Ctrl+F"},
    {"mnuHelp", "mnuHelpTarvex", "Tarvex &Help", "Ctrl+H"},
    {"mnuHelp", "mnuHelpAbout", "&About Tarvex", "Ctrl+A"},
};

TEST(Layout, MenusInOrderWithTheirItemsAndShortcuts) {
    const auto window = loadWindow();
    const QList<QAction*> titles = window->menuBar()->actions();
    const char* const expectedTitles[][2] = {{"mnuFile", "&File"}, {"mnuEdit", "&Edit"}, {"mnuKey", "&Key"},
                                             {"mnuSec", "&Security"}, {"mnuMode", "&Mode"}, {"mnuHelp", "&Help"}};
    ASSERT_EQ(titles.size(), 6);
    for (qsizetype i = 0; i < titles.size(); ++i) {
        const auto index = static_cast<std::size_t>(i);
        EXPECT_EQ(titles[i]->menu()->objectName(), QString::fromLatin1(expectedTitles[index][0]));
        EXPECT_EQ(titles[i]->text(), QString::fromLatin1(expectedTitles[index][1]));
    }

    std::vector<QAction*> itemsInOrder;
    for (const QAction* title : titles) {
        for (QAction* item : title->menu()->actions()) {
            EXPECT_FALSE(item->isSeparator());
            EXPECT_EQ(item->menu(), nullptr) << "no submenus";
            itemsInOrder.push_back(item);
        }
    }
    ASSERT_EQ(itemsInOrder.size(), std::size(kMenuItems));
    for (std::size_t i = 0; i < itemsInOrder.size(); ++i) {
        const MenuItemRow& row = kMenuItems[i];
        const QAction& item = *itemsInOrder[i];
        EXPECT_EQ(item.objectName(), QString::fromLatin1(row.name));
        EXPECT_EQ(item.text(), QString::fromLatin1(row.caption)) << row.name;
        EXPECT_EQ(item.shortcut(), QKeySequence(QString::fromLatin1(row.shortcut), QKeySequence::PortableText))
            << row.name;
        EXPECT_EQ(control<QMenu>(*window, row.menu).actions().contains(&item), true) << row.name;
    }
}

// The name of the control a focus widget belongs to (the message area's
// editor sits inside the control named Text3).
QString controlName(const QWidget* widget) {
    while (widget != nullptr && widget->objectName().isEmpty()) {
        widget = widget->parentWidget();
    }
    return widget != nullptr ? widget->objectName() : QString();
}

TEST(Layout, TabOrderFollowsTheTabIndexes) {
    const auto window = loadWindow();
    const char* const order[] = {"Option1", "Option2", "Option3", "Command1", "Command2", "Command3", "Command4",
                                 "Command5", "Command7", "Command6", "Text3", "Command9", "Command8", "Command10"};
    std::vector<QString> chain;
    const QWidget* first = &control<QWidget>(*window, "Option1");
    const QWidget* widget = first;
    do {
        const QString name = controlName(widget);
        if ((widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && !name.isEmpty() &&
            (chain.empty() || chain.back() != name)) {
            chain.push_back(name);
        }
        widget = widget->nextInFocusChain();
    } while (widget != first);
    std::vector<QString> expected;
    for (const char* name : order) {
        expected.emplace_back(QString::fromLatin1(name));
    }
    EXPECT_EQ(chain, expected);
}

TEST(Layout, TabStopsAtTheSelectedModeButtonOnly) {
    const auto window = showWindow();
    for (QWidget* widget : window->centralWidget()->findChildren<QWidget*>()) {
        widget->setEnabled(true);
    }
    const auto tabFrom = [](const char* name, const Tarvex& w) {
        control<QWidget>(w, name).setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return controlName(QApplication::focusWidget());
    };
    EXPECT_EQ(tabFrom("Command10", *window), QStringLiteral("Option1"));
    EXPECT_EQ(tabFrom("Option1", *window), QStringLiteral("Command1"));
    EXPECT_EQ(tabFrom("Command6", *window), QStringLiteral("Text3"));
    EXPECT_EQ(tabFrom("Text3", *window), QStringLiteral("Command9"));

    // Arrow keys move within the group and select, like option buttons.
    control<QWidget>(*window, "Option1").setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(controlName(QApplication::focusWidget()), QStringLiteral("Option2"));
    EXPECT_TRUE(control<QAbstractButton>(*window, "Option2").isChecked());
    EXPECT_EQ(window->currentMode(), kEmailMode);
    EXPECT_EQ(tabFrom("Command10", *window), QStringLiteral("Option2"));
}

TEST(Layout, KeyAndFileNameBoxesAreNoTabStops) {
    const auto window = loadWindow();
    EXPECT_EQ(control<QWidget>(*window, "Text1").focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(control<QWidget>(*window, "Text2").focusPolicy(), Qt::ClickFocus);
}

struct GeometryRow {
    const char* name;
    int left, top, width, height; // pixels at 15 twips each
};

constexpr GeometryRow kGeometry[] = {
    {"Frame1", 8, 8, 201, 81},     {"Frame2", 216, 32, 177, 57},   {"Frame3", 8, 96, 457, 41},
    {"Frame4", 8, 144, 457, 41},   {"Frame5", 8, 192, 457, 185},   {"Option1", 8, 16, 57, 57},
    {"Option2", 72, 16, 57, 57},   {"Option3", 136, 16, 57, 57},   {"Command1", 8, 16, 49, 33},
    {"Command2", 64, 16, 49, 33},  {"Command3", 120, 16, 49, 33},  {"Text1", 8, 16, 329, 19},
    {"Command4", 344, 16, 49, 17}, {"Command5", 400, 16, 49, 17},  {"Text2", 8, 16, 329, 19},
    {"Command7", 344, 16, 49, 17}, {"Command6", 400, 16, 49, 17},  {"Text3", 8, 16, 441, 161},
    {"Command9", 232, 384, 73, 25}, {"Command8", 312, 384, 73, 25}, {"Command10", 392, 384, 73, 25},
    {"Image1", 400, 32, 64, 64},   {"Label2", 224, 0, 204, 20},    {"Label1", 8, 392, 209, 13},
};

TEST(Layout, GeometryInDeviceIndependentPixels) {
    const auto window = loadWindow();
    EXPECT_EQ(window->centralWidget()->size(), QSize(468, 414));
    for (const GeometryRow& row : kGeometry) {
        EXPECT_EQ(control<QWidget>(*window, row.name).geometry(), QRect(row.left, row.top, row.width, row.height))
            << row.name;
    }
}

TEST(Layout, NoControlOverlapsAnotherAndEachFitsItsContainer) {
    const auto window = loadWindow();
    std::vector<const QWidget*> controls;
    for (const GeometryRow& row : kGeometry) {
        controls.push_back(&control<QWidget>(*window, row.name));
    }
    for (const QWidget* a : controls) {
        const QWidget* container = a->parentWidget();
        EXPECT_TRUE(container->rect().contains(a->geometry())) << a->objectName().toStdString();
        for (const QWidget* b : controls) {
            if (a != b && a->parentWidget() == b->parentWidget()) {
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << a->objectName().toStdString() << " and " << b->objectName().toStdString();
            }
        }
    }
}

// Arabic: the whole window mirrored, each control within its container and
// the menus from the right; the window's size stays.
TEST(Layout, RightToLeftMirrorsEveryControlAndTheMenus) {
    QApplication::setLayoutDirection(Qt::RightToLeft);
    const auto window = openWindow();
    EXPECT_EQ(window->centralWidget()->size(), QSize(468, 414));
    for (const GeometryRow& row : kGeometry) {
        const auto& widget = control<QWidget>(*window, row.name);
        const int containerWidth = widget.parentWidget()->width();
        EXPECT_EQ(widget.geometry(), QRect(containerWidth - row.left - row.width, row.top, row.width, row.height))
            << row.name;
    }
    const QMenuBar& bar = *window->menuBar();
    const QList<QAction*> titles = bar.actions();
    ASSERT_FALSE(titles.isEmpty());
    const QRect first = bar.actionGeometry(titles.first());
    EXPECT_GT(first.left(), bar.width() / 2) << "the File menu is at the right";
    EXPECT_GT(first.left(), bar.actionGeometry(titles.last()).left());
    QApplication::setLayoutDirection(Qt::LeftToRight);
}

TEST(Layout, FixedSizeWithMinimizeAndNoMaximize) {
    const auto window = showWindow();
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->centralWidget()->size(), QSize(468, 414));
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
}

TEST(Layout, Fonts) {
    const auto window = loadWindow();
    const QFont base = QApplication::font();
    for (const char* name : {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5"}) {
        const QFont font = control<QWidget>(*window, name).font();
        EXPECT_TRUE(font.bold()) << name;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25) << name;
        EXPECT_EQ(font.family(), base.family()) << name;
    }
    for (const char* name : {"Option1", "Command1", "Command9", "Text1", "Text3", "Label1"}) {
        const QFont font = control<QWidget>(*window, name).font();
        EXPECT_FALSE(font.bold()) << name;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25) << name;
    }
    const QFont title = control<QWidget>(*window, "Label2").font();
    EXPECT_TRUE(title.bold());
    EXPECT_DOUBLE_EQ(title.pointSizeF(), 12.0);
}

TEST(Layout, ModeButtonsArePushButtonsThatStayPressedOnePerFrame) {
    const auto window = loadWindow();
    QButtonGroup* group = control<QAbstractButton>(*window, "Option1").group();
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->exclusive());
    for (const char* name : {"Option1", "Option2", "Option3"}) {
        auto& option = control<QPushButton>(*window, name);
        EXPECT_TRUE(option.isCheckable()) << name;
        EXPECT_EQ(option.group(), group) << name;
        EXPECT_EQ(option.parentWidget()->objectName(), QStringLiteral("Frame1")) << name;
    }
}

} // namespace
} // namespace tarvex::window::test
