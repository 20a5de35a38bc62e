// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <vector>

namespace tarvex::window {

// The message text without any view: its characters, the length limit and the
// undo history. Every change of the text goes through here, so the rules on
// what fits and what can be undone hold whatever the view does.
//
// The text is Unicode with CR LF line breaks. Positions count UTF-16 units, as
// Qt's text classes, input methods and assistive technology do; the limit
// counts characters (code points), CR LF two, as the user counts them.
class MessageDocument {
public:
    const QString& text() const { return text_; }
    // In characters.
    std::size_t length() const { return characters_; }
    // In UTF-16 units: the end position.
    std::size_t size() const { return static_cast<std::size_t>(text_.size()); }

    // Cuts to the capacity (never inside a character) and forgets the history;
    // false when the text stays as it was.
    bool setText(QString text);
    bool setText(QStringView text) { return setText(text.toString()); }

    // 0: no limit. A new limit leaves a longer text as it is.
    std::size_t limit() const { return limit_; }
    void setLimit(std::size_t limit) { limit_ = limit; }
    // The limit, or without one the most the window holds.
    std::size_t capacity() const;
    // How many characters fit in place of [from, to).
    std::size_t room(std::size_t from, std::size_t to) const;

    // Replaces [from, to) and records it. Characters inserted one at a time,
    // each after the last, merge into one step until breakTyping(). False when
    // nothing changed: a text that would pass the capacity is refused whole
    // (taking text away is always allowed).
    bool replace(std::size_t from, std::size_t to, QStringView text);
    // The next typed character starts a step of its own.
    void breakTyping() { typingMerges_ = false; }

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    // Where the cursor belongs after the step, or npos when there was nothing to do
    // or the step would pass the limit (lowered since); such a step stays in the history.
    std::size_t undo();
    std::size_t redo();

    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Code points in `text`: a surrogate pair is one.
    static std::size_t charactersIn(QStringView text);

private:
    struct Edit {
        std::size_t position;
        QString removed;
        QString inserted;
    };

    bool fits(QStringView removed, QStringView inserted) const;
    void apply(const Edit& edit);

    QString text_;
    std::size_t characters_ = 0;
    std::size_t limit_ = 0;
    std::vector<Edit> done_;
    std::vector<Edit> undone_;
    bool typingMerges_ = false;
};

} // namespace tarvex::window
