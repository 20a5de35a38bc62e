// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_document.h"

#include "exchange/cipher_command_host.h"

#include <utility>

namespace tarvex::window {

std::size_t MessageDocument::capacity() const {
    return limit_ > 0 ? limit_ : kMaxMessageLength;
}

std::size_t MessageDocument::room(std::size_t from, std::size_t to) const {
    const std::size_t kept = codes_.size() - (to - from);
    return kept >= capacity() ? 0 : capacity() - kept;
}

bool MessageDocument::setCodes(std::string_view codes) {
    if (codes.size() > capacity()) {
        codes = codes.substr(0, capacity());
    }
    if (codes == codes_) {
        return false;
    }
    codes_.assign(codes);
    done_.clear();
    undone_.clear();
    typingMerges_ = false;
    return true;
}

bool MessageDocument::replace(std::size_t from, std::size_t to, std::string_view codes) {
    if (from == to && codes.empty()) {
        return false;
    }
    const bool typing = from == to && codes.size() == 1;
    undone_.clear();
    if (typing && typingMerges_ && !done_.empty() && done_.back().removed.empty() &&
        done_.back().position + done_.back().inserted.size() == from) {
        done_.back().inserted.append(codes);
    } else {
        done_.push_back({from, codes_.substr(from, to - from), std::string(codes)});
    }
    codes_.replace(from, to - from, codes);
    typingMerges_ = typing;
    return true;
}

bool MessageDocument::fits(const Edit& edit) const {
    return codes_.size() - edit.removed.size() + edit.inserted.size() <= capacity();
}

void MessageDocument::apply(const Edit& edit) {
    codes_.replace(edit.position, edit.removed.size(), edit.inserted);
    typingMerges_ = false;
}

std::size_t MessageDocument::undo() {
    if (done_.empty()) {
        return npos;
    }
    const Edit& edit = done_.back();
    const Edit reverse{edit.position, edit.inserted, edit.removed};
    if (!fits(reverse)) {
        return npos;
    }
    apply(reverse);
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return reverse.position + reverse.inserted.size();
}

std::size_t MessageDocument::redo() {
    if (undone_.empty() || !fits(undone_.back())) {
        return npos;
    }
    const Edit& edit = undone_.back();
    apply(edit);
    const std::size_t after = edit.position + edit.inserted.size();
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return after;
}

} // namespace tarvex::window
