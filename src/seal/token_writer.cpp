// SPDX-License-Identifier: GPL-3.0-or-later
#include "token_writer.h"

#include "base58_blocks.h"
#include "sealed_format.h"

#include <algorithm>
#include <cstring>

namespace tarvex::seal {

TokenWriter::TokenWriter() {
    std::memcpy(room(kTokenPrefix.size()), kTokenPrefix.data(), kTokenPrefix.size());
    buffers_[current_].size = kTokenPrefix.size();
}

char* TokenWriter::room(std::size_t more) {
    Buffer& buffer = buffers_[current_];
    if (buffer.size + more > buffer.capacity) {
        const std::size_t capacity = std::max(buffer.size + more, 2 * buffer.capacity);
        std::unique_ptr<char[]> grown(new char[capacity]);
        if (buffer.size > 0) std::memcpy(grown.get(), buffer.data.get(), buffer.size);
        buffer.data = std::move(grown);
        buffer.capacity = capacity;
    }
    return buffer.data.get() + buffer.size;
}

void TokenWriter::add(const std::uint8_t* bytes, std::size_t size) {
    if (carrySize_ > 0) {
        const std::size_t take = std::min(size, base58::kBlockBytes - carrySize_);
        std::memcpy(carry_ + carrySize_, bytes, take);
        carrySize_ += take;
        bytes += take;
        size -= take;
        if (carrySize_ < base58::kBlockBytes) return;
        base58::encodeBlocks(carry_, 1, room(base58::kBlockDigits));
        buffers_[current_].size += base58::kBlockDigits;
        carrySize_ = 0;
    }
    const std::size_t blocks = size / base58::kBlockBytes;
    base58::encodeBlocks(bytes, blocks, room(blocks * base58::kBlockDigits));
    buffers_[current_].size += blocks * base58::kBlockDigits;
    carrySize_ = size % base58::kBlockBytes;
    std::memcpy(carry_, bytes + blocks * base58::kBlockBytes, carrySize_);
}

void TokenWriter::finish() {
    const std::size_t digits = base58::digitsForBytes(carrySize_);
    base58::encodeLastBlock(carry_, carrySize_, room(digits));
    buffers_[current_].size += digits;
    carrySize_ = 0;
}

std::string_view TokenWriter::take() {
    Buffer& taken = buffers_[current_];
    current_ = 1 - current_;
    buffers_[current_].size = 0;
    return {taken.data.get(), taken.size};
}

} // namespace tarvex::seal
