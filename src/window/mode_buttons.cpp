// SPDX-License-Identifier: GPL-3.0-or-later

#include "mode_buttons.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QPalette>
#include <QWidget>

namespace tarvex::window {

namespace {

// The style's own look of a selected push button is faint in some palettes;
// the selected mode is marked in the palette's highlight colours instead.
void markSelection(QAbstractButton& button) {
    const QPalette around = button.parentWidget() != nullptr ? button.parentWidget()->palette() : QPalette();
    QPalette marked;
    if (button.isChecked()) {
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            marked.setColor(group, QPalette::Button, around.color(group, QPalette::Highlight));
            marked.setColor(group, QPalette::ButtonText, around.color(group, QPalette::HighlightedText));
        }
    }
    if (!button.isChecked() && !button.testAttribute(Qt::WA_SetPalette)) {
        return;
    }
    // Only the two roles are set, so the rest follows the window's palette. The
    // palette change this sends comes back here; a flag ends that round.
    static bool marking = false;
    if (marking) {
        return;
    }
    marking = true;
    button.setPalette(marked);
    marking = false;
}

// Keeps Tab and the selection mark on the selected button of one group.
// Qt leaves the group's one tab stop on the button that last had the focus,
// which is not the selected one after a mode is chosen by menu or shortcut.
// Tab or Shift+Tab into the group is passed on to the selected button.
class SelectedModeGuard final : public QObject {
public:
    explicit SelectedModeGuard(QButtonGroup& group) : QObject(&group), group_(group) {
        for (QAbstractButton* button : group.buttons()) {
            button->installEventFilter(this);
            markSelection(*button);
        }
        connect(&group, &QButtonGroup::buttonToggled, this, [](QAbstractButton* button) { markSelection(*button); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange) {
            // The highlight colours of a new palette.
            markSelection(*static_cast<QAbstractButton*>(watched));
            return false;
        }
        if (event->type() != QEvent::FocusIn) {
            return false;
        }
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason) {
            return false;
        }
        QAbstractButton* selected = group_.checkedButton();
        if (selected == nullptr || selected == watched || !selected->isEnabled() || !selected->isVisible()) {
            return false;
        }
        selected->setFocus(reason);
        return true;
    }

private:
    QButtonGroup& group_;
};

void guardGroup(QButtonGroup& group) {
    if (group.findChild<SelectedModeGuard*>(QString(), Qt::FindDirectChildrenOnly) == nullptr) {
        new SelectedModeGuard(group);
    }
}

// A caption as a screen reader says it: without its access key, marked in the
// word ("E-&Mail") or, as in Chinese and Arabic captions, after it in
// parentheses ("文件(&F)"), which go with it. "&&" is a plain '&'.
QString spokenCaption(const QString& caption) {
    QString spoken;
    spoken.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) {
            spoken += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
            spoken += QLatin1Char('&');
            ++i;
        } else if (spoken.endsWith(QLatin1Char('(')) && i + 2 < caption.size() && caption[i + 2] == QLatin1Char(')')) {
            spoken.chop(1);
            while (!spoken.isEmpty() && spoken.back().isSpace()) spoken.chop(1);
            i += 2;
        }
    }
    return spoken;
}

// What a screen reader is told of a mode button: a radio button, with the
// check state and the access key of the button.
class ModeButtonInterface final : public QAccessibleWidget {
public:
    explicit ModeButtonInterface(ModeButton* button) : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button().isChecked();
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            // The caption without its access key, not the frame's title that a plain widget would borrow.
            return spokenCaption(button().text());
        }
        QString given = QAccessibleWidget::text(kind);
        if (!given.isEmpty()) {
            return given;
        }
        switch (kind) {
        case QAccessible::Accelerator:
            // Empty where the letter belongs to a menu title.
            return button().shortcut().toString(QKeySequence::NativeText);
        default:
            return given;
        }
    }

    // Toggle selects the mode, as a click does; like a radio button, a
    // selected one stays selected.
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled()) {
            names.prepend(toggleAction());
        }
        return names;
    }

    void doAction(const QString& actionName) override {
        if (actionName == toggleAction() && widget()->isEnabled()) {
            button().click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

private:
    ModeButton& button() const { return *static_cast<ModeButton*>(widget()); }
};

QAccessibleInterface* modeButtonInterface(const QString& /*className*/, QObject* object) {
    if (auto* button = qobject_cast<ModeButton*>(object)) {
        return new ModeButtonInterface(button);
    }
    return nullptr;
}

} // namespace

ModeButton::ModeButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    static const bool installed = [] {
        QAccessible::installFactory(&modeButtonInterface);
        return true;
    }();
    (void)installed;
    setCheckable(true);
}

void selectModeButton(QAbstractButton& button) {
    if (QButtonGroup* group = button.group()) {
        guardGroup(*group);
    }
    button.setChecked(true);
}

void clearModeButton(QAbstractButton& button) {
    if (!button.isChecked()) {
        return;
    }
    // An exclusive group keeps its last button checked; lift that for the moment.
    QButtonGroup* group = button.group();
    const bool exclusive = group != nullptr && group->exclusive();
    if (exclusive) {
        group->setExclusive(false);
    }
    button.setChecked(false);
    if (exclusive) {
        group->setExclusive(true);
    }
}

} // namespace tarvex::window
