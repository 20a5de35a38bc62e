// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvex::cli {

// UTF-8 goes through its several steps in pieces this large, so the buffers
// between the steps stay in the processor's cache.
inline constexpr std::size_t kStepSize = std::size_t{32} << 10;

// Editors on Windows start UTF-8 files with a byte-order mark, which is no
// part of the text: it is skipped, and error positions in bytes still count it.
class ByteOrderMark {
public:
    // Drops a mark at the very start of the input. The first chunk is whole
    // (or the whole input), so it holds all of a mark.
    void skipAtStart(std::string_view& chunk) {
        if (started_ || chunk.empty()) return;
        started_ = true;
        if (chunk.starts_with(kBytes)) {
            chunk.remove_prefix(kBytes.size());
            skipped_ = kBytes.size();
        }
    }
    // Byte positions count the file's bytes, the mark included; character
    // positions count the characters that the user sees, which it is not.
    Error counted(Error error) const {
        if (error.kind == Error::Kind::InvalidUtf8) error.position += skipped_;
        return error;
    }
    std::uint64_t skipped() const { return skipped_; }

private:
    static constexpr std::string_view kBytes = "\xEF\xBB\xBF";
    bool started_ = false;
    std::uint64_t skipped_ = 0;
};

// Turns an input, handed over a chunk at a time, into output bytes.
class Pipeline {
public:
    virtual ~Pipeline() = default;
    // What the chunk yields so far, in a buffer of the pipeline's that the next
    // call reuses.
    virtual Result<std::string_view> transform(std::string_view chunk) = 0;
    // More of what the last chunk yields, when it was too much for one buffer;
    // empty once it is all out. Call until empty before the next chunk.
    virtual Result<std::string_view> more() { return std::string_view(); }
    // What remains once the input has ended, likewise.
    virtual Result<std::string_view> conclude() = 0;

    // The same, appended to `out`.
    Status push(std::string_view chunk, std::string& out) {
        if (Status first = appendTo(transform(chunk), out); !first) return first;
        for (;;) {
            Result<std::string_view> next = more();
            if (!next) return next.error();
            if (next->empty()) return Done{};
            out.append(*next);
        }
    }
    Status finish(std::string& out) { return appendTo(conclude(), out); }

private:
    static Status appendTo(const Result<std::string_view>& bytes, std::string& out) {
        if (!bytes) return bytes.error();
        out.append(*bytes);
        return Done{};
    }
};

} // namespace tarvex::cli
