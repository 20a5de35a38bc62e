// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli_app.h"

#include "core/process_hardening.h"
#include "files/atomic_file_writer.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    tarvex::hardenProcess();
    // An interruption leaves no temporary file behind (the window makes no
    // such choice: its signals stay as Qt set them).
    tarvex::removeTemporaryFilesOnSignals();
    return tarvex::cli::runCli(argc, argv);
}
