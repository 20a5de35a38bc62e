// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli_app.h"

#include "core/process_hardening.h"
#include "files/atomic_file_writer.h"
#include "i18n/catalogue.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    tarvex::hardenProcess();
    // An interruption leaves no temporary file behind (the window makes no
    // such choice: its signals stay as Qt set them).
    tarvex::files::removeTemporaryFilesOnSignals();
    // Messages in the session's language; everything else (character classes,
    // numbers) as in the C locale, so no output that scripts read changes.
    tarvex::i18n::speakSessionLanguage();
    return tarvex::cli::runCli(argc, argv);
}
