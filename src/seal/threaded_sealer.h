// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sealed_format.h"
#include "sealer.h"
#include "sealing_key.h"
#include "secure_bytes.h"
#include "token_writer.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace tarvex::seal {

// The Sealer's work split in two for long streams: a thread of its own
// encrypts the pieces in order (the stream cipher cannot go faster than one
// piece after the other), while the caller's thread reads, writes the digits
// and hands them on. The token is the same as the Sealer's; its text may come
// a few pieces later, and each call emits at most once, at its end: what it
// emits stays valid through the next call. Without a second thread it seals in
// the caller's.
class ThreadedSealer {
public:
    explicit ThreadedSealer(const SealingKey& key);
    ~ThreadedSealer();
    ThreadedSealer(const ThreadedSealer&) = delete;
    ThreadedSealer& operator=(const ThreadedSealer&) = delete;

    Status push(std::string_view payload, const Emit& emit);
    // The rest: last chunk, check and last digits; no line feed.
    Status finish(const Emit& emit);

private:
    enum class SlotState { Free, Filled, Sealed };
    struct Slot {
        SecureBytes piece{kPieceBytes};
        std::size_t pieceSize = 0;
        bool last = false;
        std::vector<std::uint8_t> chunk = std::vector<std::uint8_t>(kFullChunkBytes);
        std::size_t chunkSize = 0;
        SlotState state = SlotState::Free;
    };

    void sealInOrder();
    void sealSlot(Slot& slot);
    // The slot to fill, once the one in turn is free; the digits of what is
    // sealed meanwhile wait in the token writer.
    Slot* slotToFill();
    void handOver(bool last);
    // Writes the digits of sealed slots in order: those there are, or,
    // waiting, up to the last one.
    void drain(bool untilLast);
    Status emitText(const Emit& emit);

    std::uint8_t header_[kHeaderBytes];
    ChunkSealer chunks_;
    TokenWriter token_;
    std::uint32_t crc_ = 0; // the sealing thread's until the last slot is sealed
    std::vector<Slot> slots_;
    Slot* filling_ = nullptr;
    std::size_t nextFill_ = 0, nextSeal_ = 0, nextDrain_ = 0;
    bool lastDrained_ = false;
    bool stop_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread sealing_;
};

} // namespace tarvex::seal
