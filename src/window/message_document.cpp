// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_document.h"

#include "exchange/cipher_command_host.h"

#include <algorithm>
#include <utility>

namespace tarvex::window {

namespace {

qsizetype at(std::size_t position) {
    return static_cast<qsizetype>(position);
}

} // namespace

std::size_t MessageDocument::charactersIn(QStringView text) {
    // Over the raw units, so that the count runs in vector steps.
    std::size_t lowSurrogates = 0;
    const char16_t* units = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) lowSurrogates += (units[i] & 0xFC00) == 0xDC00 ? 1u : 0u;
    return static_cast<std::size_t>(text.size()) - lowSurrogates;
}

std::size_t MessageDocument::capacity() const {
    return limit_ > 0 ? limit_ : exchange::kMaxMessageLength;
}

std::size_t MessageDocument::room(std::size_t from, std::size_t to) const {
    const std::size_t kept = characters_ - charactersIn(QStringView(text_).mid(at(from), at(to - from)));
    return kept >= capacity() ? 0 : capacity() - kept;
}

bool MessageDocument::setText(QString text) {
    std::size_t characters = charactersIn(text);
    if (characters > capacity()) {
        // Walk to the capacity's end so that no surrogate pair is halved.
        qsizetype end = 0;
        for (std::size_t counted = 0; counted < capacity() && end < text.size(); ++counted) {
            end += text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate() ? 2 : 1;
        }
        text.truncate(end);
        characters = charactersIn(text);
    }
    if (text == text_) {
        return false;
    }
    text_ = std::move(text);
    characters_ = characters;
    done_.clear();
    undone_.clear();
    typingMerges_ = false;
    return true;
}

bool MessageDocument::replace(std::size_t from, std::size_t to, QStringView text) {
    if (from > to || to > size() || (from == to && text.isEmpty())) {
        return false;
    }
    if (!fits(QStringView(text_).mid(at(from), at(to - from)), text)) {
        return false;
    }
    const bool typing = from == to && charactersIn(text) == 1;
    undone_.clear();
    if (typing && typingMerges_ && !done_.empty() && done_.back().removed.isEmpty() &&
        done_.back().position + static_cast<std::size_t>(done_.back().inserted.size()) == from) {
        done_.back().inserted.append(text);
    } else {
        done_.push_back({from, text_.mid(at(from), at(to - from)), text.toString()});
    }
    const QStringView removed = QStringView(text_).mid(at(from), at(to - from));
    characters_ = characters_ - charactersIn(removed) + charactersIn(text);
    text_.replace(at(from), at(to - from), text.toString());
    typingMerges_ = typing;
    return true;
}

// Taking text away always fits, so that a text longer than a limit set
// later can be shortened.
bool MessageDocument::fits(QStringView removed, QStringView inserted) const {
    return inserted.isEmpty() || characters_ - charactersIn(removed) + charactersIn(inserted) <= capacity();
}

void MessageDocument::apply(const Edit& edit) {
    characters_ = characters_ - charactersIn(edit.removed) + charactersIn(edit.inserted);
    text_.replace(at(edit.position), edit.removed.size(), edit.inserted);
    typingMerges_ = false;
}

std::size_t MessageDocument::undo() {
    if (done_.empty()) {
        return npos;
    }
    const Edit& edit = done_.back();
    const Edit reverse{edit.position, edit.inserted, edit.removed};
    if (!fits(reverse.removed, reverse.inserted)) {
        return npos;
    }
    apply(reverse);
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return reverse.position + static_cast<std::size_t>(reverse.inserted.size());
}

std::size_t MessageDocument::redo() {
    if (undone_.empty() || !fits(undone_.back().removed, undone_.back().inserted)) {
        return npos;
    }
    const Edit& edit = undone_.back();
    apply(edit);
    const std::size_t after = edit.position + static_cast<std::size_t>(edit.inserted.size());
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return after;
}

} // namespace tarvex::window
