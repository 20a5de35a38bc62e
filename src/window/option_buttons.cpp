// SPDX-License-Identifier: GPL-3.0-or-later

#include "option_buttons.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QPalette>
#include <QWidget>

namespace tarvex::window {

namespace {

// The style's own look of a selected push button is faint in some palettes;
// the selected mode is marked in the palette's highlight colours instead.
void markSelection(QAbstractButton& button) {
    const QPalette around = button.parentWidget() != nullptr ? button.parentWidget()->palette() : QPalette();
    QPalette marked;
    if (button.isChecked()) {
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            marked.setColor(group, QPalette::Button, around.color(group, QPalette::Highlight));
            marked.setColor(group, QPalette::ButtonText, around.color(group, QPalette::HighlightedText));
        }
    }
    if (!button.isChecked() && !button.testAttribute(Qt::WA_SetPalette)) {
        return;
    }
    // Only the two roles are set, so the rest follows the window's palette. The
    // palette change this sends comes back here; a flag ends that round.
    static bool marking = false;
    if (marking) {
        return;
    }
    marking = true;
    button.setPalette(marked);
    marking = false;
}

// Keeps Tab and the selection mark on the selected button of one group.
// Qt leaves the group's one tab stop on the button that last had the focus,
// which is not the selected one after a mode is chosen by menu or shortcut.
// Tab or Shift+Tab into the group is passed on to the selected button.
class SelectedOptionGuard final : public QObject {
public:
    explicit SelectedOptionGuard(QButtonGroup& group) : QObject(&group), group_(group) {
        for (QAbstractButton* button : group.buttons()) {
            button->installEventFilter(this);
            markSelection(*button);
        }
        connect(&group, &QButtonGroup::buttonToggled, this, [](QAbstractButton* button) { markSelection(*button); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange) {
            // The highlight colours of a new palette.
            markSelection(*static_cast<QAbstractButton*>(watched));
            return false;
        }
        if (event->type() != QEvent::FocusIn) {
            return false;
        }
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason) {
            return false;
        }
        QAbstractButton* selected = group_.checkedButton();
        if (selected == nullptr || selected == watched || !selected->isEnabled() || !selected->isVisible()) {
            return false;
        }
        selected->setFocus(reason);
        return true;
    }

private:
    QButtonGroup& group_;
};

void guardGroup(QButtonGroup& group) {
    if (group.findChild<SelectedOptionGuard*>(QString(), Qt::FindDirectChildrenOnly) == nullptr) {
        new SelectedOptionGuard(group);
    }
}

} // namespace

void selectOption(QAbstractButton& button) {
    if (QButtonGroup* group = button.group()) {
        guardGroup(*group);
    }
    button.setChecked(true);
}

void clearOption(QAbstractButton& button) {
    if (!button.isChecked()) {
        return;
    }
    // An exclusive group keeps its last button checked; lift that for the moment.
    QButtonGroup* group = button.group();
    const bool exclusive = group != nullptr && group->exclusive();
    if (exclusive) {
        group->setExclusive(false);
    }
    button.setChecked(false);
    if (exclusive) {
        group->setExclusive(true);
    }
}

} // namespace tarvex::window
