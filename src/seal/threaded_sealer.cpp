// SPDX-License-Identifier: GPL-3.0-or-later
#include "threaded_sealer.h"

#include "crc32.h"

#include <cstring>
#include <system_error>

namespace tarvex::seal {
namespace {

// Half a mebibyte of payload ahead, half a chunk of tarvex-cli's input: sealed while
// the caller writes the one before and reads the next.
constexpr std::size_t kSlots = 8;

} // namespace

ThreadedSealer::ThreadedSealer(const SealingKey& key) : chunks_(key, header_), slots_(kSlots) {
    crc_ = crc32Update(0, header_, sizeof header_);
    token_.add(header_, sizeof header_);
    try {
        sealing_ = std::thread([this] { sealInOrder(); });
    } catch (const std::system_error&) {
        // No thread to be had: every piece is sealed as it is handed over.
    }
}

ThreadedSealer::~ThreadedSealer() {
    if (!sealing_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    sealing_.join();
}

void ThreadedSealer::sealSlot(Slot& slot) {
    slot.chunkSize = chunks_.seal(slot.piece.data(), slot.pieceSize, slot.last, slot.chunk.data());
    crc_ = crc32Update(crc_, slot.chunk.data(), slot.chunkSize);
}

void ThreadedSealer::sealInOrder() {
    for (;;) {
        Slot* slot = nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stop_ || slots_[nextSeal_].state == SlotState::Filled; });
            if (stop_) return;
            slot = &slots_[nextSeal_];
        }
        sealSlot(*slot);
        const bool last = slot->last;
        {
            std::lock_guard lock(mutex_);
            slot->state = SlotState::Sealed;
            nextSeal_ = (nextSeal_ + 1) % kSlots;
        }
        changed_.notify_all();
        if (last) return;
    }
}

ThreadedSealer::Slot* ThreadedSealer::slotToFill() {
    for (;;) {
        Slot* drainable = nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] {
                return slots_[nextFill_].state == SlotState::Free || slots_[nextDrain_].state == SlotState::Sealed;
            });
            if (slots_[nextFill_].state == SlotState::Free) return &slots_[nextFill_];
            drainable = &slots_[nextDrain_];
        }
        // Every slot is ahead: the oldest is sealed, so its digits make room.
        token_.add(drainable->chunk.data(), drainable->chunkSize);
        {
            std::lock_guard lock(mutex_);
            drainable->state = SlotState::Free;
            nextDrain_ = (nextDrain_ + 1) % kSlots;
        }
    }
}

void ThreadedSealer::handOver(bool last) {
    Slot& slot = *filling_;
    filling_ = nullptr;
    slot.last = last;
    if (!sealing_.joinable()) {
        sealSlot(slot);
        slot.state = SlotState::Sealed;
    } else {
        {
            std::lock_guard lock(mutex_);
            slot.state = SlotState::Filled;
        }
        changed_.notify_all();
    }
    nextFill_ = (nextFill_ + 1) % kSlots;
}

void ThreadedSealer::drain(bool untilLast) {
    while (!lastDrained_) {
        Slot* slot = nullptr;
        {
            std::unique_lock lock(mutex_);
            if (untilLast) changed_.wait(lock, [&] { return slots_[nextDrain_].state == SlotState::Sealed; });
            if (slots_[nextDrain_].state != SlotState::Sealed) break;
            slot = &slots_[nextDrain_];
        }
        token_.add(slot->chunk.data(), slot->chunkSize);
        lastDrained_ = slot->last;
        {
            std::lock_guard lock(mutex_);
            slot->state = SlotState::Free;
            nextDrain_ = (nextDrain_ + 1) % kSlots;
        }
    }
}

Status ThreadedSealer::emitText(const Emit& emit) {
    const std::string_view text = token_.take();
    return text.empty() ? Status(Done{}) : emit(text);
}

Status ThreadedSealer::push(std::string_view payload, const Emit& emit) {
    while (!payload.empty()) {
        // A full piece is handed over only once more follows: the last one carries the final tag.
        if (filling_ && filling_->pieceSize == kPieceBytes) handOver(false);
        if (!filling_) {
            filling_ = slotToFill();
            filling_->pieceSize = 0;
        }
        const std::size_t take = std::min(payload.size(), kPieceBytes - filling_->pieceSize);
        std::memcpy(filling_->piece.data() + filling_->pieceSize, payload.data(), take);
        filling_->pieceSize += take;
        payload.remove_prefix(take);
    }
    drain(false);
    return emitText(emit);
}

Status ThreadedSealer::finish(const Emit& emit) {
    if (!filling_) {
        filling_ = slotToFill();
        filling_->pieceSize = 0;
    }
    handOver(true);
    drain(true);
    std::uint8_t check[kCheckBytes];
    writeCheck(crc_, check);
    token_.add(check, sizeof check);
    token_.finish();
    return emitText(emit);
}

} // namespace tarvex::seal
