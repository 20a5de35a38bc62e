// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>

class QString;

namespace tarvex::window {

class Tarvex;

// The program's start-up.
namespace Module1 {

// Creates the main window with its controls in their initial state and runs
// its load handler.
std::unique_ptr<Tarvex> LoadTarvex();

// Loads the main window and shows it, not modal. The program then lives in
// the event loop until the window is closed.
std::unique_ptr<Tarvex> Main();

// The same with `keyFile` as the current key, as if picked with Load Key
// before the window is shown.
std::unique_ptr<Tarvex> Main(const QString& keyFile);

} // namespace Module1
} // namespace tarvex::window
