#pragma once

#include "cipher/result.h"

#include <string>
#include <string_view>

namespace tarvex::cli {

// Turns an input, handed over a chunk at a time, into output bytes.
class Pipeline {
public:
    virtual ~Pipeline() = default;
    // Appends to `out` what the chunk yields so far.
    virtual Status push(std::string_view chunk, std::string& out) = 0;
    // Appends what remains once the input has ended.
    virtual Status finish(std::string& out) = 0;
};

} // namespace tarvex::cli
