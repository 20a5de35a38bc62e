// SPDX-License-Identifier: GPL-3.0-or-later

#include "option_buttons.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace tarvex::window {

void selectOption(QAbstractButton& button) {
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
