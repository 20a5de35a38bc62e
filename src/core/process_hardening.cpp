// SPDX-License-Identifier: GPL-3.0-or-later

#include "process_hardening.h"

#if defined(__linux__) && !defined(TARVEX_ALLOW_DEBUGGER)
#include <sys/prctl.h>
#include <sys/resource.h>
#endif

namespace tarvex {

void hardenProcess() {
#if defined(__linux__) && !defined(TARVEX_ALLOW_DEBUGGER)
    // Failures are not fatal: the program works the same, only less shielded.
    const rlimit noCore{0, 0};
    (void)setrlimit(RLIMIT_CORE, &noCore);
    (void)prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}

} // namespace tarvex
