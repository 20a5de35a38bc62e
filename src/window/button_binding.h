// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QAbstractButton;
class QAction;

namespace tarvex::window {

// Makes `button` a second face of `action`: a click triggers the action, and
// the button is enabled exactly while the action is. The button keeps its own
// caption, tooltip, access key and geometry.
void bindButton(QAbstractButton& button, QAction& action);

} // namespace tarvex::window
