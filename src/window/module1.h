#pragma once

#include <memory>

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

} // namespace Module1
} // namespace tarvex::window
