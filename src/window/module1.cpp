// SPDX-License-Identifier: GPL-3.0-or-later

#include "module1.h"

#include "tarvex.h"

namespace tarvex::window::Module1 {

std::unique_ptr<Tarvex> LoadTarvex() {
    auto window = std::make_unique<Tarvex>();
    window->Form_Load();
    return window;
}

std::unique_ptr<Tarvex> Main() {
    auto window = LoadTarvex();
    window->show();
    return window;
}

std::unique_ptr<Tarvex> Main(const QString& keyFile) {
    auto window = LoadTarvex();
    window->loadKeyFile(keyFile);
    window->show();
    return window;
}

} // namespace tarvex::window::Module1
