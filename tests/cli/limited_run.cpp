// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a program with limits that tests cannot set from outside:
//   tarvex_limited_run [--no-tmpfile] [--address-space BYTES] PROGRAM ARGS...
// --no-tmpfile makes the kernel refuse O_TMPFILE with EOPNOTSUPP, as a file
// system without unnamed files does; --address-space sets RLIMIT_AS.
#include "../support/unnamed_files_refused.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using tarvex::test::refuseUnnamedFiles;

int main(int argc, char** argv) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        if (std::strcmp(argv[i], "--no-tmpfile") == 0) {
            if (!refuseUnnamedFiles()) {
                std::perror("tarvex_limited_run: seccomp");
                return 125;
            }
        } else if (std::strcmp(argv[i], "--address-space") == 0 && i + 1 < argc) {
            rlimit limit{};
            limit.rlim_cur = limit.rlim_max = std::strtoull(argv[++i], nullptr, 10);
            if (::setrlimit(RLIMIT_AS, &limit) != 0) {
                std::perror("tarvex_limited_run: setrlimit");
                return 125;
            }
        } else {
            std::fprintf(stderr, "tarvex_limited_run: unknown option %s\n", argv[i]);
            return 125;
        }
    }
    if (i >= argc) return 125;
    ::execv(argv[i], argv + i);
    std::perror("tarvex_limited_run: exec");
    return 126;
}
