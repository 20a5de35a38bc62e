// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QAbstractButton;

// Selecting and clearing the option buttons of one exclusive group the way
// the mode handlers rely on: selecting a button that was not selected emits
// its toggled(true) (which runs its click handler) before returning; selecting
// the selected one or clearing any button emits nothing that runs a handler.
// Once a button of the group has been selected this way, Tab into the group
// lands on the selected button, whichever button had the focus before, and
// the selected button is drawn in the palette's highlight colours.
namespace tarvex::window {

void selectOption(QAbstractButton& button);
// May leave the group with no button selected.
void clearOption(QAbstractButton& button);

} // namespace tarvex::window
