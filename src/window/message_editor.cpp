#include "message_editor.h"

#include "message_codec.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextDocument>

#include <limits>

namespace tarvex::window {

namespace {

bool isEditingShortcut(const QKeyEvent& key) {
    return key.matches(QKeySequence::Copy) || key.matches(QKeySequence::Paste) ||
           key.matches(QKeySequence::Cut);
}

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

bool carriesText(const QKeyEvent& key) {
    const QString text = key.text();
    return !text.isEmpty() && text.front().isPrint();
}

// AltGr arrives without these on X11, so text under them was not typed.
bool heldForCommand(const QKeyEvent& key) {
    return (key.modifiers() & (Qt::AltModifier | Qt::MetaModifier)) != Qt::NoModifier;
}

bool heldForEditing(const QKeyEvent& key) {
    return key.modifiers().testFlag(Qt::ControlModifier) && !heldForCommand(key);
}

} // namespace

MessageEditor::MessageEditor(QWidget* parent) : QPlainTextEdit(parent) {
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // A cipher text is one long line, often without a space to break at.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    connect(document(), &QTextDocument::contentsChange, this, &MessageEditor::onContentsChange);
}

std::string MessageEditor::codes() const {
    if (!codesCache_) {
        codesCache_ = codec::codesFromDisplay(document()->toRawText());
    }
    return *codesCache_;
}

void MessageEditor::setCodes(std::string_view codes) {
    if (limit_ > 0 && codes.size() > limit_) {
        codes = codes.substr(0, limit_);
    }
    if (codes == this->codes()) {
        return;
    }
    {
        const QScopedValueRollback setting(settingCodes_, true);
        setPlainText(codec::displayFromCodes(codes));
    }
    codesCache_ = std::string(codes);
    emit codesChanged();
}

std::size_t MessageEditor::length() const {
    const QTextDocument* doc = document();
    // Every character of the document is one code, except the separator
    // between two lines, which stands for CR LF.
    const auto characters = static_cast<std::size_t>(doc->characterCount() - 1);
    const auto lineBreaks = static_cast<std::size_t>(doc->blockCount() - 1);
    return characters + lineBreaks;
}

bool MessageEditor::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && isEditingShortcut(*static_cast<QKeyEvent*>(event))) {
        // Copy, paste and cut act on the text while it has the focus.
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void MessageEditor::keyPressEvent(QKeyEvent* event) {
    const bool typing = isEnter(*event) || (carriesText(*event) && !heldForEditing(*event));
    if (typing && heldForCommand(*event)) {
        // Qt would type the letter of an unused Alt combination.
        event->ignore();
        return;
    }
    if (isEnter(*event)) {
        // Shift+Enter and Ctrl+Enter too: every line break is CR LF.
        insertCodes(fitToRoom("\r\n", Fit::WholeOrNothing));
        event->accept();
        return;
    }
    if (typing) {
        insertCodes(fitToRoom(codec::codesFromForeignText(event->text()), Fit::WholeOrNothing));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MessageEditor::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    const std::string codes = fitToRoom(codec::codesFromForeignText(event->commitString()), Fit::CutToRoom);
    QInputMethodEvent fitted(event->preeditString(), event->attributes());
    fitted.setCommitString(codec::displayFromCodes(codes), event->replacementStart(),
                           event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&fitted);
}

bool MessageEditor::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void MessageEditor::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) {
        return;
    }
    insertCodes(fitToRoom(codec::codesFromForeignText(source->text()), Fit::CutToRoom));
}

QMimeData* MessageEditor::createMimeDataFromSelection() const {
    auto* selection = new QMimeData;
    const std::string codes = codec::codesFromDisplay(textCursor().selectedText());
    selection->setText(codec::unicodeFromCodes(codes));
    return selection;
}

void MessageEditor::onContentsChange(int /*position*/, int removed, int added) {
    if (settingCodes_ || (removed == 0 && added == 0)) {
        return;
    }
    codesCache_.reset();
    emit codesChanged();
}

std::size_t MessageEditor::selectedLength() const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        return 0;
    }
    const QTextDocument* doc = document();
    const auto characters = static_cast<std::size_t>(cursor.selectionEnd() - cursor.selectionStart());
    const auto lineBreaks = static_cast<std::size_t>(doc->findBlock(cursor.selectionEnd()).blockNumber() -
                                                     doc->findBlock(cursor.selectionStart()).blockNumber());
    return characters + lineBreaks;
}

std::size_t MessageEditor::room() const {
    if (limit_ == 0) {
        return std::numeric_limits<std::size_t>::max();
    }
    const std::size_t kept = length() - selectedLength();
    return kept >= limit_ ? 0 : limit_ - kept;
}

std::string MessageEditor::fitToRoom(std::string codes, Fit fit) const {
    const std::size_t available = room();
    if (codes.size() <= available) {
        return codes;
    }
    if (fit == Fit::WholeOrNothing) {
        return {};
    }
    // A line break that does not fit whole is left out, not halved.
    const bool splitsLineBreak = available > 0 && codes[available - 1] == '\r' && codes[available] == '\n';
    codes.resize(splitsLineBreak ? available - 1 : available);
    return codes;
}

void MessageEditor::insertCodes(std::string_view codes) {
    if (codes.empty()) {
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.insertText(codec::displayFromCodes(codes));
    setTextCursor(cursor);
    ensureCursorVisible();
}

} // namespace tarvex::window
