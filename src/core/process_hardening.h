// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tarvex {

// Closes the process to other processes of the same user: no ptrace, no
// /proc/PID/mem, and no core file that could hold a message or a key. Does
// nothing in a build made with TARVEX_ALLOW_DEBUGGER.
void hardenProcess();

} // namespace tarvex
