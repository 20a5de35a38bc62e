// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPushButton>

class QAbstractButton;

namespace tarvex::window {

// A mode button: a push button that stays pressed, one of an exclusive group.
// Assistive technology sees a radio button, checked while its mode is selected.
class ModeButton : public QPushButton {
    Q_OBJECT
public:
    ModeButton(const QString& text, QWidget* parent);
};

// Selecting and clearing the mode buttons of one exclusive group the way the
// mode handlers rely on: selecting a button that was not selected emits its
// toggled(true) (which runs its handler) before returning; selecting the
// selected one or clearing any button emits nothing that runs a handler.
// Once a button of the group has been selected this way, Tab into the group
// lands on the selected button, whichever button had the focus before, and
// the selected button is drawn in the palette's highlight colours.
void selectModeButton(QAbstractButton& button);
// May leave the group with no button selected.
void clearModeButton(QAbstractButton& button);

} // namespace tarvex::window
