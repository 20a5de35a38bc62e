// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::window {

// The message text without any view: its codes, the length limit and the
// undo history. Every change of the text goes through here, so the rules on
// what fits and what can be undone hold whatever the view does.
class MessageDocument {
public:
    const std::string& codes() const { return codes_; }
    std::size_t length() const { return codes_.size(); }

    // Cuts to the capacity and forgets the history; false when the text stays as it was.
    bool setCodes(std::string_view codes);

    // 0: no limit. A new limit leaves a longer text as it is.
    std::size_t limit() const { return limit_; }
    void setLimit(std::size_t limit) { limit_ = limit; }
    // The limit, or without one the most the window holds.
    std::size_t capacity() const;
    // How many codes fit in place of [from, to).
    std::size_t room(std::size_t from, std::size_t to) const;

    // Replaces [from, to) and records it. Codes inserted one at a time, each
    // after the last, merge into one step until breakTyping(). False when nothing changed.
    bool replace(std::size_t from, std::size_t to, std::string_view codes);
    // The next typed code starts a step of its own.
    void breakTyping() { typingMerges_ = false; }

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    // Where the cursor belongs after the step, or npos when there was nothing to do
    // or the step would pass the limit (lowered since); such a step stays in the history.
    std::size_t undo();
    std::size_t redo();

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

private:
    struct Edit {
        std::size_t position;
        std::string removed;
        std::string inserted;
    };

    bool fits(const Edit& edit) const;
    void apply(const Edit& edit);

    std::string codes_;
    std::size_t limit_ = 0;
    std::vector<Edit> done_;
    std::vector<Edit> undone_;
    bool typingMerges_ = false;
};

} // namespace tarvex::window
