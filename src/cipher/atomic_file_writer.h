#pragma once

#include "file_descriptor.h"
#include "result.h"

#include <string>
#include <string_view>
#include <sys/types.h>

namespace tarvex {

// Writes a file through a temporary file in the same folder, renamed over the
// target only on commit: readers see the old file or the complete new one, and
// a failure leaves the target as it was and no temporary file behind.
class AtomicFileWriter {
public:
    enum class Replace { Allowed, Refused };
    // A new file gets `mode` (masked by the umask when `honourUmask`); a replaced
    // one keeps its own permission bits unless `forceMode`.
    struct Options {
        Replace replace = Replace::Allowed;
        mode_t mode = 0666;
        bool honourUmask = true;
        bool forceMode = false;
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
    // Drops the temporary file; the target stays as it was.
    void discard();

    const std::string& path() const { return path_; }

private:
    AtomicFileWriter(std::string path, std::string target, std::string tempPath, FileDescriptor fd, Replace replace);
    Error failure(int osError) const;

    std::string path_;     // as given, for messages
    std::string target_;   // the file that is replaced (a link's target)
    std::string tempPath_; // empty when writing straight to a device or pipe
    FileDescriptor fd_;
    Replace replace_;
};

// The whole content at once.
Status writeFileAtomically(const std::string& path, std::string_view content, AtomicFileWriter::Options options);

} // namespace tarvex
