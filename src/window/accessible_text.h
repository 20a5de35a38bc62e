// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cstddef>
#include <string_view>
#include <vector>

namespace tarvex::window {

// The message as a screen reader reads it: a CR LF pair is one line break, a
// control code is its name in words ("[carriage return]"), every other code
// one character. Assistive technology counts in characters of this text, so
// it also maps offsets in it to positions between codes and back.
class AccessibleText {
public:
    explicit AccessibleText(std::string_view codes);

    const QString& text() const { return text_; }
    int length() const { return static_cast<int>(text_.size()); }

    int offsetOf(std::size_t position) const;
    // An offset inside the words of a control goes to the start of that code.
    std::size_t positionOf(int offset) const;

private:
    // A run of codes not read as one character per code.
    struct Span {
        std::size_t position;
        std::size_t codeCount;
        int offset;
        int length;
    };
    QString text_;
    std::size_t codeCount_ = 0;
    std::vector<Span> spans_;
};

// What changed between two readings of the text: `removed` became `inserted` at `offset`.
struct AccessibleTextChange {
    int offset = 0;
    QString removed;
    QString inserted;
};
AccessibleTextChange differenceBetween(const QString& before, const QString& after);

} // namespace tarvex::window
