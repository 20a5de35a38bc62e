// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a program with limits that tests cannot set from outside:
//   tarvex_limited_run [--no-tmpfile] [--address-space BYTES] PROGRAM ARGS...
// --no-tmpfile makes the kernel refuse O_TMPFILE with EOPNOTSUPP, as a file
// system without unnamed files does; --address-space sets RLIMIT_AS.
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

bool refuseTmpfile() {
    // Only openat carries O_TMPFILE here (glibc's open is openat); its flags are the third argument.
    sock_filter program[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_openat, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, 020000000, 0, 1), // O_TMPFILE without O_DIRECTORY
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EOPNOTSUPP & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog filter{static_cast<unsigned short>(sizeof program / sizeof program[0]), program};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &filter) == 0;
}

} // namespace

int main(int argc, char** argv) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-'; ++i) {
        if (std::strcmp(argv[i], "--no-tmpfile") == 0) {
            if (!refuseTmpfile()) {
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
