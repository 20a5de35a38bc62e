// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "file_descriptor.h"
#include "core/result.h"

#include <string>
#include <string_view>
#include <sys/types.h>

namespace tarvex::files {

// Writes a file that appears whole on commit or not at all. The content goes
// into a file without a name in the target's folder (O_TMPFILE), which the
// system drops however the process ends; it gets its name only on commit.
// Where the file system has no such files, a temporary file readable by its
// owner only takes its place, removed on failure, on destruction and, where
// the program asked for it, on SIGINT, SIGTERM, SIGHUP and SIGPIPE. Readers
// see the old file or the complete new one.
//
// Links are followed to the file they name, except a link in a sticky folder
// that anyone may write to (such as /tmp) whose owner is neither this user nor
// the folder's owner: someone else may have planted it there.
class AtomicFileWriter {
public:
    enum class Replace { Allowed, Refused };
    // A new file gets `mode` (masked by the umask when `honourUmask`); a replaced
    // one keeps its own permission bits unless `forceMode`. An existing device,
    // pipe or socket is refused unless `writeIntoDevices`, which writes to it
    // directly (renaming a file over it would put a plain file in its place).
    struct Options {
        Replace replace = Replace::Allowed;
        mode_t mode = 0666;
        bool honourUmask = true;
        bool forceMode = false;
        bool writeIntoDevices = false;
    };

    static Result<AtomicFileWriter> open(const std::string& path, Options options);

    AtomicFileWriter(AtomicFileWriter&& other) noexcept;
    AtomicFileWriter& operator=(AtomicFileWriter&&) = delete;
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();

    Status write(std::string_view bytes);
    // Flushes to disk and puts the file in place.
    Status commit();
    // Drops what was written; the target stays as it was.
    void discard();

    const std::string& path() const { return path_; }

private:
    struct Parts;
    AtomicFileWriter(std::string path, Parts parts);
    Error failure(int osError) const;
    Status putInPlace();

    std::string path_;    // as given, for messages
    FileDescriptor folder_; // the target's folder; invalid when writing straight to a device
    std::string name_;    // the target's name in that folder (a link's target, not the link)
    std::string tempName_; // a named temporary file's name in the folder; empty for an unnamed one
    FileDescriptor fd_;
    Replace replace_ = Replace::Allowed;
    mode_t mode_ = 0600;  // given to the file just before it gets its name
    int tempSlot_ = -1;   // where a signal finds the temporary file to remove
};

// tarvex-cli's choice, never the window's: from now on, while an
// AtomicFileWriter holds a named temporary file, SIGINT, SIGTERM, SIGHUP and
// SIGPIPE remove it before they end the process. The handlers come with the
// first such file and the previous dispositions return once the last is
// renamed or removed; a signal that is ignored or has a handler of the
// program's own is left alone.
void removeTemporaryFilesOnSignals();

// The whole content at once.
Status writeFileAtomically(const std::string& path, std::string_view content, AtomicFileWriter::Options options);

} // namespace tarvex::files
