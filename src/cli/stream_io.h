// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "byte_buffer.h"

#include "files/atomic_file_writer.h"
#include "files/file_descriptor.h"
#include "core/result.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarvex::cli {

// Input is handled a chunk at a time through reused buffers, so memory stays
// flat for any size and a fault in the first chunk leaves standard output untouched.
inline constexpr std::size_t kChunkSize = std::size_t{1} << 20;

// Reads a file, or standard input, in chunks of up to kChunkSize bytes.
class ChunkReader {
public:
    // No path: standard input.
    static Result<ChunkReader> open(const std::optional<std::string>& path);

    // The next bytes, valid until the next call; empty at the end.
    Result<std::string_view> next();
    const std::string& name() const { return name_; }

private:
    ChunkReader(files::FileDescriptor owned, int fd, std::string name);

    files::FileDescriptor owned_;
    int fd_;
    std::string name_;
    ByteBuffer buffer_;
};

// Writes to standard output as it goes, or to a file that appears only on success.
class OutputSink {
public:
    // No path: standard output.
    static Result<OutputSink> open(const std::optional<std::string>& path);

    Status write(std::string_view bytes);
    // Puts a file in place; nothing more to do for standard output.
    Status finish();

private:
    explicit OutputSink(std::optional<files::AtomicFileWriter> file);

    std::optional<files::AtomicFileWriter> file_;
};

} // namespace tarvex::cli
