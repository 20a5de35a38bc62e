// SPDX-License-Identifier: GPL-3.0-or-later

#include "button_binding.h"

#include <QAbstractButton>
#include <QAction>

namespace tarvex::window {

void bindButton(QAbstractButton& button, QAction& action) {
    button.setEnabled(action.isEnabled());
    QObject::connect(&button, &QAbstractButton::clicked, &action, &QAction::trigger);
    QObject::connect(&action, &QAction::changed, &button, [&button, &action] { button.setEnabled(action.isEnabled()); });
}

} // namespace tarvex::window
