// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_area.h"

#include "message_editor.h"
#include "shortcut_guard.h"

#include "exchange/utf8_of.h"

#include <QVBoxLayout>

namespace tarvex::window {

MessageArea::MessageArea(QWidget* parent) : QWidget(parent), editor_(new MessageEditor(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(editor_);
    setFocusPolicy(editor_->focusPolicy());
    setFocusProxy(editor_);
    connect(editor_, &MessageEditor::textChanged, this, &MessageArea::changed);
    connect(editor_, &MessageEditor::insertionRefused, this, &MessageArea::insertionRefused);
}

MessageArea::~MessageArea() = default;

secret::String MessageArea::text() const {
    return exchange::utf8Of(editor_->text());
}

secret::String MessageArea::leadingText(std::size_t units) const {
    return exchange::utf8Of(QStringView(editor_->text()).left(static_cast<qsizetype>(units)));
}

QString MessageArea::plainText() const {
    return editor_->text();
}

void MessageArea::setText(std::string_view text) {
    editor_->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

bool MessageArea::isEmpty() const {
    return editor_->length() == 0;
}

std::size_t MessageArea::limit() const {
    return editor_->limit();
}

void MessageArea::setLimit(std::size_t limit) {
    editor_->setLimit(limit);
}

std::size_t MessageArea::capacity() const {
    return editor_->capacity();
}

void MessageArea::leaveShortcutsToWindow(const QList<QKeySequence>& keys) {
    editor_->installEventFilter(new ShortcutGuard(keys, editor_));
}

} // namespace tarvex::window
