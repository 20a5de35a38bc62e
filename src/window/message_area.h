// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "secret/string.h"

#include <QKeySequence>
#include <QList>
#include <QWidget>

#include <cstddef>
#include <string_view>

namespace tarvex::window {

class MessageEditor;

// Where text from another program came from.
enum class TextSource { Clipboard, Selection, Drop };

// The message text area. The rest of the window sees only its text (UTF-8,
// CR LF line breaks), its length limit and a change notification; how the
// text is shown and edited stays in here.
class MessageArea : public QWidget {
    Q_OBJECT
public:
    explicit MessageArea(QWidget* parent = nullptr);
    ~MessageArea() override;

    secret::String text() const;
    // The first `units` UTF-16 units of the text, as UTF-8: enough to tell
    // what the text is without copying megabytes at every key.
    secret::String leadingText(std::size_t units) const;
    // The text as Qt holds it (shared, not copied), for other programs.
    QString plainText() const;
    // Cuts the text to the limit; emits changed() before returning if the text differs.
    void setText(std::string_view text);
    bool isEmpty() const;

    // 0: no limit. A new limit leaves a longer text as it is.
    std::size_t limit() const;
    void setLimit(std::size_t limit);
    // The limit, or without one the most the window holds (kMaxMessageLength).
    std::size_t capacity() const;

    // Key combinations that the window's menus run even while the area has the focus.
    void leaveShortcutsToWindow(const QList<QKeySequence>& keys);

signals:
    // After every change of the text, by the user or by setText().
    void changed();
    // A text pasted or dropped by the user was refused whole: it is `length`
    // characters long and only `room` fit.
    void insertionRefused(tarvex::window::TextSource source, std::size_t length, std::size_t room);

private:
    MessageEditor* editor_;
};

} // namespace tarvex::window
