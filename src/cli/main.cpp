#include "cli_app.h"

#include <csignal>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    // A closed pipe is an error to report, not a reason to die silently.
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    return tarvex::cli::runCli(args);
}
