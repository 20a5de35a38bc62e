// SPDX-License-Identifier: GPL-3.0-or-later

#include "option_buttons.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>

namespace tarvex::window {

namespace {

// Qt leaves the group's one tab stop on the button that last had the focus,
// which is not the selected one after a mode is chosen by menu or shortcut.
// Tab or Shift+Tab into the group is passed on to the selected button.
class TabToSelectedOption final : public QObject {
public:
    explicit TabToSelectedOption(QButtonGroup& group) : QObject(&group), group_(group) {
        setObjectName(QStringLiteral("tabToSelectedOption"));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
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

void guardTabStop(QButtonGroup& group) {
    if (group.findChild<TabToSelectedOption*>(QString(), Qt::FindDirectChildrenOnly) != nullptr) {
        return;
    }
    auto* guard = new TabToSelectedOption(group);
    for (QAbstractButton* button : group.buttons()) {
        button->installEventFilter(guard);
    }
}

} // namespace

void selectOption(QAbstractButton& button) {
    if (QButtonGroup* group = button.group()) {
        guardTabStop(*group);
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
