// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <cstddef>
#include <QStringView>
#include <vector>

namespace tarvex::window {

// The message as a screen reader reads it: a CR LF pair is one line break, a
// control code is its name in words ("[carriage return]"), every other
// character itself, in any script. Assistive technology counts in UTF-16
// units of this text, so it also maps offsets in it to positions in the
// message and back.
class AccessibleText {
public:
    explicit AccessibleText(QStringView text);

    const QString& text() const { return text_; }
    int length() const { return static_cast<int>(text_.size()); }

    int offsetOf(std::size_t position) const;
    // An offset inside the words of a control goes to the start of that code.
    std::size_t positionOf(int offset) const;

private:
    // A run of the message not read unit for unit.
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
