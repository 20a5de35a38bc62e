// SPDX-License-Identifier: GPL-3.0-or-later

#include "stream_io.h"

#include "files/file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tarvex::cli {

ChunkReader::ChunkReader(files::FileDescriptor owned, int fd, std::string name)
    : owned_(std::move(owned)), fd_(fd), name_(std::move(name)) {}

Result<ChunkReader> ChunkReader::open(const std::optional<std::string>& path) {
    if (!path) return ChunkReader(files::FileDescriptor{}, STDIN_FILENO, kStandardInputName);
    files::FileDescriptor fd(::open(path->c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return Error{.kind = Error::Kind::FileUnreadable, .path = *path, .osError = errno};
    int raw = fd.get();
    return ChunkReader(std::move(fd), raw, *path);
}

Result<std::string_view> ChunkReader::next() {
    char* buffer = buffer_.room(kChunkSize);
    std::size_t filled = 0;
    // Fill the whole chunk (pipes hand out less per read) so chunks stay large.
    while (filled < kChunkSize) {
        ssize_t n = ::read(fd_, buffer + filled, kChunkSize - filled);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Error{.kind = Error::Kind::FileUnreadable, .path = name_, .osError = errno};
        }
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    return buffer_.filled(filled);
}

OutputSink::OutputSink(std::optional<files::AtomicFileWriter> file) : file_(std::move(file)) {}

Result<OutputSink> OutputSink::open(const std::optional<std::string>& path) {
    if (!path) return OutputSink(std::nullopt);
    // A device or a pipe named as output is written to as it is.
    Result<files::AtomicFileWriter> writer =
        files::AtomicFileWriter::open(*path, files::AtomicFileWriter::Options{.writeIntoDevices = true});
    if (!writer) return writer.error();
    return OutputSink(std::move(writer).value());
}

Status OutputSink::write(std::string_view bytes) {
    if (file_) return file_->write(bytes);
    if (int error = files::writeAll(STDOUT_FILENO, bytes); error != 0) {
        return Error{.kind = Error::Kind::FileWriteFailed, .path = kStandardOutputName, .osError = error};
    }
    return Done{};
}

Status OutputSink::finish() {
    if (file_) return file_->commit();
    return Done{};
}

} // namespace tarvex::cli
