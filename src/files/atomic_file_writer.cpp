// SPDX-License-Identifier: GPL-3.0-or-later

#include "atomic_file_writer.h"

#include "file_io.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvex::files {
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

// --- Temporary files that a signal must remove ---------------------------------
//
// A fixed table, so the handler reads it without locks or allocation: a slot is
// in use while its folder is not -1, and its name is complete before that.

struct TempSlot {
    std::atomic<int> folder{-1};
    char name[256] = {};
};
TempSlot tempSlots[8];
constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// Only a program that asks (tarvex-cli) gets handlers, and only while it holds
// a named temporary file: the window keeps its signals as Qt set them.
std::atomic<bool> cleanupChosen{false};
int liveTempFiles = 0;
struct sigaction previousActions[std::size(kCleanedSignals)];
bool replaced[std::size(kCleanedSignals)] = {};

void removeTempFilesAndDie(int signal) {
    for (TempSlot& slot : tempSlots) {
        int folder = slot.folder.load();
        if (folder >= 0) ::unlinkat(folder, slot.name, 0);
    }
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(signal, &byDefault, nullptr);
    ::raise(signal); // delivered, with the default action, once this handler returns
}

void installHandlers() {
    for (std::size_t i = 0; i < std::size(kCleanedSignals); ++i) {
        replaced[i] = false;
        if (::sigaction(kCleanedSignals[i], nullptr, &previousActions[i]) != 0) continue;
        // An ignored signal or the program's own handler stays as it is.
        const struct sigaction& old = previousActions[i];
        if ((old.sa_flags & SA_SIGINFO) != 0 || old.sa_handler != SIG_DFL) continue;
        struct sigaction handler {};
        handler.sa_handler = removeTempFilesAndDie;
        handler.sa_flags = SA_RESTART;
        sigemptyset(&handler.sa_mask);
        for (int other : kCleanedSignals) sigaddset(&handler.sa_mask, other);
        replaced[i] = ::sigaction(kCleanedSignals[i], &handler, nullptr) == 0;
    }
}

void restoreHandlers() {
    for (std::size_t i = 0; i < std::size(kCleanedSignals); ++i) {
        if (replaced[i]) ::sigaction(kCleanedSignals[i], &previousActions[i], nullptr);
        replaced[i] = false;
    }
}

// Returns the slot, or -1 when all are taken (the file is then removed only
// by the writer itself) or the program did not ask for the handlers.
int rememberTempFile(int folder, const std::string& name) {
    if (!cleanupChosen.load() || name.size() >= sizeof tempSlots[0].name) return -1;
    for (int i = 0; i < static_cast<int>(std::size(tempSlots)); ++i) {
        TempSlot& slot = tempSlots[i];
        int expected = -1;
        // Claim with a placeholder first, so the handler never reads a half-written name.
        if (!slot.folder.compare_exchange_strong(expected, -2)) continue;
        std::memcpy(slot.name, name.c_str(), name.size() + 1);
        slot.folder.store(folder);
        if (liveTempFiles++ == 0) installHandlers();
        return i;
    }
    return -1;
}

// Called once the file is renamed or removed.
void forgetTempFile(int& slot) {
    if (slot >= 0) {
        tempSlots[slot].folder.store(-1);
        if (--liveTempFiles == 0) restoreHandlers();
    }
    slot = -1;
}

// A name no other file in the folder is likely to have, hidden, beside `target`.
std::string tempNameFor(const std::string& target) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    unsigned char random[8] = {};
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        static unsigned counter = 0;
        auto seed = static_cast<unsigned>(::getpid()) * 2654435761u + ++counter;
        for (unsigned char& byte : random) byte = static_cast<unsigned char>(seed >>= 3);
    }
    std::string name = "." + target.substr(0, 200) + ".";
    for (unsigned char byte : random) name += kLetters[byte % (sizeof kLetters - 1)];
    return name;
}

// Gives the unnamed file open at `fd` the name `name` in `folder`.
int linkUnnamed(int fd, int folder, const std::string& name) {
    char proc[64];
    std::snprintf(proc, sizeof proc, "/proc/self/fd/%d", fd);
    if (::linkat(AT_FDCWD, proc, folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    int error = errno;
    if (error != ENOENT) return error;
    // Without /proc; needs a capability that not every user has.
    if (::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
    return error;
}

// Puts `from` at `to` in `folder` only when nothing is there yet.
int renameNoReplace(int folder, const std::string& from, const std::string& to) {
    if (::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // File systems without RENAME_NOREPLACE: a hard link fails on an existing name too.
    if (::linkat(folder, from.c_str(), folder, to.c_str(), 0) != 0) return errno;
    ::unlinkat(folder, from.c_str(), 0);
    return 0;
}

// The rule of the kernel's protected_symlinks, applied whatever that setting
// is: in a sticky folder that anyone may write to, follow only links owned by
// this user or by the folder's owner.
bool mayFollow(int folder, const struct stat& linkInfo) {
    struct stat info {};
    if (::fstat(folder, &info) != 0) return false;
    const bool shared = (info.st_mode & S_ISVTX) != 0 && (info.st_mode & S_IWOTH) != 0;
    return !shared || linkInfo.st_uid == ::geteuid() || linkInfo.st_uid == info.st_uid;
}

FileDescriptor openFolder(int base, const std::string& path) {
    return FileDescriptor(::openat(base, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// Where a path leads once its links are followed: the folder that is written
// into, held open, and the name in it. Every look from here on goes through
// that folder, so what was checked is what gets written.
struct Resolved {
    FileDescriptor folder;
    std::string name;     // a link's target, not the link
    bool named = false;   // the path as given names something, if only a dangling link
    bool exists = false;  // `name` exists in `folder`
    struct stat info {};  // of `name`, when it exists
};

Result<Resolved> resolve(const std::string& path) {
    auto failed = [&](int osError) {
        return Error{.kind = Error::Kind::FileWriteFailed, .path = path, .osError = osError};
    };
    Resolved found;
    found.folder = openFolder(AT_FDCWD, folderOf(path));
    found.name = nameOf(path);
    if (found.name.empty()) found.name = "."; // "folder/" names the folder itself
    for (int hop = 0; hop < 40; ++hop) {
        if (!found.folder.valid()) return failed(errno);
        struct stat info {};
        if (::fstatat(found.folder.get(), found.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT) return found;
            return failed(errno);
        }
        found.named = true;
        if (!S_ISLNK(info.st_mode)) {
            found.exists = true;
            found.info = info;
            return found;
        }
        if (!mayFollow(found.folder.get(), info)) return failed(EACCES);
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        ssize_t length = ::readlinkat(found.folder.get(), found.name.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return failed(length < 0 ? errno : ELOOP);
        target.resize(static_cast<std::size_t>(length));
        if (target.find('/') != std::string::npos) {
            found.folder = openFolder(found.folder.get(), folderOf(target));
        }
        found.name = nameOf(target);
    }
    return failed(ELOOP);
}

} // namespace

void removeTemporaryFilesOnSignals() {
    cleanupChosen.store(true);
}

struct AtomicFileWriter::Parts {
    FileDescriptor folder;
    std::string name;
    std::string tempName;
    FileDescriptor fd;
    Replace replace;
    mode_t mode;
    int tempSlot;
};

Result<AtomicFileWriter> AtomicFileWriter::open(const std::string& path, Options options) {
    auto failed = [&](int osError) {
        return Error{.kind = Error::Kind::FileWriteFailed, .path = path, .osError = osError};
    };
    Result<Resolved> resolved = resolve(path);
    if (!resolved) return resolved.error();
    Resolved& found = *resolved;
    if (found.exists && S_ISDIR(found.info.st_mode)) return failed(EISDIR);
    if (found.named && options.replace == Replace::Refused) return Error{.kind = Error::Kind::FileExists, .path = path};
    FileDescriptor folder = std::move(found.folder);
    const std::string name = std::move(found.name);

    if (found.exists && !S_ISREG(found.info.st_mode)) {
        if (!options.writeIntoDevices) {
            return Error{.kind = Error::Kind::NotRegularFile, .path = path, .fileType = found.info.st_mode & S_IFMT};
        }
        FileDescriptor direct(::openat(folder.get(), name.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW));
        if (!direct.valid()) return failed(errno);
        return AtomicFileWriter(path, Parts{.folder = FileDescriptor{}, .name = {}, .tempName = {},
                                            .fd = std::move(direct), .replace = options.replace, .mode = 0,
                                            .tempSlot = -1});
    }

    // Renaming would get round a file's own write protection; respect it.
    if (found.exists && ::faccessat(folder.get(), name.c_str(), W_OK, 0) != 0) return failed(errno);

    mode_t mode = options.mode;
    if (options.honourUmask) mode &= ~currentUmask();
    if (found.exists && !options.forceMode) mode = found.info.st_mode & 07777;

    FileDescriptor fd(::openat(folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    std::string tempName;
    int slot = -1;
    if (!fd.valid()) {
        int error = errno;
        if (error != EOPNOTSUPP && error != EISDIR && error != EINVAL) return failed(error);
        // This file system has no unnamed files: a named one, owner-only until
        // it is complete, that a signal removes too.
        for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
            tempName = tempNameFor(name);
            fd.reset(::openat(folder.get(), tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                              0600));
            if (!fd.valid() && errno != EEXIST) return failed(errno);
        }
        if (!fd.valid()) return failed(EEXIST);
        slot = rememberTempFile(folder.get(), tempName);
    }
    return AtomicFileWriter(path, Parts{.folder = std::move(folder), .name = name, .tempName = std::move(tempName),
                                        .fd = std::move(fd), .replace = options.replace, .mode = mode,
                                        .tempSlot = slot});
}

AtomicFileWriter::AtomicFileWriter(std::string path, Parts parts)
    : path_(std::move(path)), folder_(std::move(parts.folder)), name_(std::move(parts.name)),
      tempName_(std::move(parts.tempName)), fd_(std::move(parts.fd)), replace_(parts.replace), mode_(parts.mode),
      tempSlot_(parts.tempSlot) {}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter&& other) noexcept
    : path_(std::move(other.path_)), folder_(std::move(other.folder_)), name_(std::move(other.name_)),
      tempName_(std::exchange(other.tempName_, {})), fd_(std::move(other.fd_)), replace_(other.replace_),
      mode_(other.mode_), tempSlot_(std::exchange(other.tempSlot_, -1)) {}

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
    if (!folder_.valid()) {
        if (error == EINVAL || error == EROFS) error = 0; // pipes and devices do not sync
        if (int closeError = fd_.close(); error == 0) error = closeError;
        if (error != 0) return failure(error);
        return Done{};
    }
    if (error == 0 && ::fchmod(fd_.get(), mode_) != 0) error = errno;
    if (error == 0) {
        Status placed = putInPlace();
        if (!placed) {
            discard();
            return placed;
        }
        error = fd_.close();
    }
    if (error != 0) {
        discard();
        return failure(error);
    }
    ::fsync(folder_.get());
    folder_.reset();
    return Done{};
}

Status AtomicFileWriter::putInPlace() {
    const int folder = folder_.get();
    auto exists = [&] { return Error{.kind = Error::Kind::FileExists, .path = path_}; };
    if (tempName_.empty()) {
        // An unnamed file: linking fails on an existing name, which is just
        // what Refused asks for; otherwise it is linked beside the target and
        // renamed over it.
        if (replace_ == Replace::Refused) {
            int error = linkUnnamed(fd_.get(), folder, name_);
            if (error == EEXIST) return exists();
            if (error != 0) return failure(error);
            return Done{};
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            tempName_ = tempNameFor(name_);
            int error = linkUnnamed(fd_.get(), folder, tempName_);
            if (error == 0) break;
            tempName_.clear();
            if (error != EEXIST) return failure(error);
        }
        if (tempName_.empty()) return failure(EEXIST);
        tempSlot_ = rememberTempFile(folder, tempName_);
    }
    int error = 0;
    if (replace_ == Replace::Refused) {
        error = renameNoReplace(folder, tempName_, name_);
        if (error == EEXIST) return exists();
    } else if (::renameat(folder, tempName_.c_str(), folder, name_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) return failure(error);
    forgetTempFile(tempSlot_);
    tempName_.clear();
    return Done{};
}

void AtomicFileWriter::discard() {
    fd_.reset();
    if (!tempName_.empty()) {
        ::unlinkat(folder_.get(), tempName_.c_str(), 0);
        tempName_.clear();
    }
    forgetTempFile(tempSlot_);
    folder_.reset();
}

Status writeFileAtomically(const std::string& path, std::string_view content, AtomicFileWriter::Options options) {
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, options);
    if (!writer) return writer.error();
    if (Status written = writer->write(content); !written) return written;
    return writer->commit();
}

} // namespace tarvex::files
