// SPDX-License-Identifier: GPL-3.0-or-later

#include "file_io.h"

#include "file_descriptor.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvex::files {

Result<secret::String> readWholeFile(const std::string& path, std::uint64_t limit) {
    auto unreadable = [&](int osError) {
        return Error{.kind = Error::Kind::FileUnreadable, .path = path, .osError = osError};
    };
    // Without blocking, so a pipe (FIFO) is refused at once instead of waiting
    // for a writer; for a regular file the flag changes nothing.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd.valid()) return unreadable(errno);

    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) return unreadable(errno);
    if (S_ISDIR(info.st_mode)) return unreadable(EISDIR);
    if (!S_ISREG(info.st_mode)) {
        return Error{.kind = Error::Kind::NotRegularFile, .path = path, .fileType = info.st_mode & S_IFMT};
    }
    auto tooLarge = Error{.kind = Error::Kind::FileTooLarge, .path = path, .limit = limit};
    if (S_ISREG(info.st_mode) && static_cast<std::uint64_t>(info.st_size) > limit) return tooLarge;

    // Room for the file and one byte more, which finds its end in the same
    // read; a file that grows while read gets more room, up to the limit.
    secret::String content(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            const std::uint64_t room = std::max<std::uint64_t>(2 * used, 65536);
            content.resize(static_cast<std::size_t>(std::min(room, limit + 1)));
        }
        ssize_t n = ::read(fd.get(), content.data() + used, content.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            return unreadable(errno);
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
        // Files that grow while read are held to the same limit.
        if (used > limit) return tooLarge;
    }
    content.resize(used);
    return content;
}

int writeAll(int fd, std::string_view bytes) {
    // A closed pipe fails the write with EPIPE instead of ending the process:
    // SIGPIPE is held back meanwhile, and the one this write raised is taken
    // back; one sent by someone else arrives once the mask is restored.
    sigset_t pipeSignal;
    sigset_t previousMask;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &previousMask);
    sigset_t pending;
    sigpending(&pending);
    const bool alreadyPending = sigismember(&pending, SIGPIPE) == 1;
    int error = 0;
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            break;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    if (error == EPIPE && !alreadyPending) {
        const timespec now{};
        ::sigtimedwait(&pipeSignal, nullptr, &now);
    }
    ::pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    return error;
}

} // namespace tarvex::files
