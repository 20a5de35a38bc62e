#include "atomic_file_writer.h"

#include "file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvex {
namespace {

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t currentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Puts `from` at `to` only when nothing is there yet.
int renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // File systems without RENAME_NOREPLACE: a hard link fails on an existing name too.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
}

void syncFolder(const std::string& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) ::fsync(dir.get());
}

} // namespace

Result<AtomicFileWriter> AtomicFileWriter::open(const std::string& path, Options options) {
    auto failed = [&](int osError) {
        return Error{.kind = Error::Kind::FileWriteFailed, .path = path, .osError = osError};
    };
    struct stat existing {};
    bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) return failed(EISDIR);
    if (exists && options.replace == Replace::Refused) return Error{.kind = Error::Kind::FileExists, .path = path};

    if (exists && !S_ISREG(existing.st_mode)) {
        // A device or a pipe cannot be replaced by renaming (that would put a
        // plain file in its place): it is written to directly.
        FileDescriptor direct(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
        if (!direct.valid()) return failed(errno);
        return AtomicFileWriter(path, path, std::string(), std::move(direct), options.replace);
    }

    // Renaming would get round a file's own write protection; respect it.
    if (exists && ::access(path.c_str(), W_OK) != 0) return failed(errno);

    // Through a link, the file it names is replaced and the link kept.
    std::string target = path;
    if (exists) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }

    std::string temp = folderOf(target) + "/." + nameOf(target) + ".XXXXXX";
    FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC)); // created 0600
    if (!fd.valid()) return failed(errno);

    mode_t mode = options.mode;
    if (options.honourUmask) mode &= ~currentUmask();
    if (exists && !options.forceMode) mode = existing.st_mode & 07777;
    if (::fchmod(fd.get(), mode) != 0) {
        int error = errno;
        ::unlink(temp.c_str());
        return failed(error);
    }
    return AtomicFileWriter(path, target, std::move(temp), std::move(fd), options.replace);
}

AtomicFileWriter::AtomicFileWriter(std::string path, std::string target, std::string tempPath, FileDescriptor fd,
                                   Replace replace)
    : path_(std::move(path)), target_(std::move(target)), tempPath_(std::move(tempPath)), fd_(std::move(fd)),
      replace_(replace) {}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter&& other) noexcept
    : path_(std::move(other.path_)), target_(std::move(other.target_)),
      tempPath_(std::exchange(other.tempPath_, {})), fd_(std::move(other.fd_)), replace_(other.replace_) {}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

Error AtomicFileWriter::failure(int osError) const {
    return Error{.kind = Error::Kind::FileWriteFailed, .path = path_, .osError = osError};
}

Status AtomicFileWriter::write(std::string_view bytes) {
    if (!fd_.valid()) return failure(EBADF);
    if (int error = writeAll(fd_.get(), bytes); error != 0) return failure(error);
    return Done{};
}

Status AtomicFileWriter::commit() {
    if (!fd_.valid()) return failure(EBADF);
    int error = ::fsync(fd_.get()) == 0 ? 0 : errno;
    const bool direct = tempPath_.empty();
    if (direct && (error == EINVAL || error == EROFS)) error = 0; // pipes and devices do not sync
    if (int closeError = fd_.close(); error == 0) error = closeError;
    if (error != 0) {
        discard();
        return failure(error);
    }
    if (direct) return Done{};

    if (replace_ == Replace::Refused) {
        error = renameNoReplace(tempPath_, target_);
        if (error == EEXIST) {
            discard();
            return Error{.kind = Error::Kind::FileExists, .path = path_};
        }
    } else if (::rename(tempPath_.c_str(), target_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        discard();
        return failure(error);
    }
    tempPath_.clear();
    syncFolder(folderOf(target_));
    return Done{};
}

void AtomicFileWriter::discard() {
    fd_.reset();
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

Status writeFileAtomically(const std::string& path, std::string_view content, AtomicFileWriter::Options options) {
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, options);
    if (!writer) return writer.error();
    if (Status written = writer->write(content); !written) return written;
    return writer->commit();
}

} // namespace tarvex
