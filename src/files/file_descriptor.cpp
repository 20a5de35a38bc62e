// SPDX-License-Identifier: GPL-3.0-or-later

#include "file_descriptor.h"

#include <cerrno>
#include <unistd.h>

namespace tarvex::files {

void FileDescriptor::reset(int fd) {
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
}

int FileDescriptor::close() {
    if (fd_ < 0) return 0;
    int rc = ::close(std::exchange(fd_, -1));
    return rc == 0 ? 0 : errno;
}

} // namespace tarvex::files
