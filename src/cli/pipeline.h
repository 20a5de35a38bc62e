#pragma once

#include "cipher/result.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvex::cli {

// UTF-8 goes through its several steps in pieces this large, so the buffers
// between the steps stay in the processor's cache.
inline constexpr std::size_t kStepSize = std::size_t{32} << 10;

// Turns an input, handed over a chunk at a time, into output bytes.
class Pipeline {
public:
    virtual ~Pipeline() = default;
    // What the chunk yields so far, in a buffer of the pipeline's that the next
    // call reuses.
    virtual Result<std::string_view> transform(std::string_view chunk) = 0;
    // What remains once the input has ended, likewise.
    virtual Result<std::string_view> conclude() = 0;

    // The same, appended to `out`.
    Status push(std::string_view chunk, std::string& out) { return appendTo(transform(chunk), out); }
    Status finish(std::string& out) { return appendTo(conclude(), out); }

private:
    static Status appendTo(const Result<std::string_view>& bytes, std::string& out) {
        if (!bytes) return bytes.error();
        out.append(*bytes);
        return Done{};
    }
};

} // namespace tarvex::cli
