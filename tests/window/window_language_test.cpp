// SPDX-License-Identifier: GPL-3.0-or-later

// The window in one language, as a desktop session of that language starts
// it: tests/window/CMakeLists.txt runs this program once for each language of
// po/LINGUAS that has a catalogue, and once in English, with the session's
// locale and LANGUAGE set and TARVEX_TEST_LANGUAGE naming the catalogue that
// has to be in use ("de"; empty for English).

#include "about/about_box.h"
#include "i18n/catalogue.h"
#include "i18n/translate.h"
#include "platform/message_box.h"
#include "platform/program_launcher.h"
#include "window/tarvex.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace tarvex::window::test {
namespace {

std::string expectedLanguage() {
    const char* language = std::getenv("TARVEX_TEST_LANGUAGE");
    return language != nullptr ? language : "";
}

std::string shown(const QWidget& widget, const QString& text) {
    return widget.objectName().toStdString() + " \"" + text.toStdString() + "\"";
}

TEST(WindowLanguage, SpeaksTheSessionLanguageQtsOwnWordsAndDirectionIncluded) {
    const std::string language = expectedLanguage();
    ASSERT_EQ(i18n::catalogueLanguage(), language) << "the catalogue in use";

    Tarvex window;
    const QString fileMenu = window.menuBar()->actions().first()->text();
    EXPECT_EQ(fileMenu.toStdString(), i18n::text("menu", "&File"));

    // Qt's own buttons come from Debian's translations of Qt.
    const QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No);
    const QString yes = buttons.button(QDialogButtonBox::Yes)->text();
    if (language.empty()) {
        EXPECT_EQ(yes, QStringLiteral("&Yes"));
    } else {
        EXPECT_NE(yes, QStringLiteral("&Yes")) << "Qt's translation of " << language << " is not loaded";
    }

    const Qt::LayoutDirection direction =
        language.empty() ? Qt::LeftToRight : QLocale(QString::fromStdString(language)).textDirection();
    EXPECT_EQ(QApplication::layoutDirection(), direction);
    EXPECT_EQ(window.layoutDirection(), direction);
}

// The window has a fixed layout: a text too long for its place would be cut
// or run over its neighbours. Each is measured with the font it is shown in.
void expectButtonTextsFit(const QWidget& parent) {
    for (const QPushButton* button : parent.findChildren<QPushButton*>()) {
        if (button->text().isEmpty()) continue;
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QSize need = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
        EXPECT_LE(need.width(), room.width()) << shown(*button, button->text());
        EXPECT_LE(need.height(), button->height()) << shown(*button, button->text());
    }
}

void expectLabelTextsFit(const QWidget& parent) {
    for (const QLabel* label : parent.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->wordWrap()) continue;
        const QSize need = label->fontMetrics().size(Qt::TextShowMnemonic, label->text());
        EXPECT_LE(need.width(), label->contentsRect().width()) << shown(*label, label->text());
    }
}

TEST(WindowLanguage, EveryTextOfTheWindowFitsItsPlace) {
    Tarvex window;
    window.show();
    const QWidget& client = *window.centralWidget();
    expectButtonTextsFit(client);
    expectLabelTextsFit(client);
    for (const QGroupBox* frame : client.findChildren<QGroupBox*>()) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.textAlignment = frame->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.lineWidth = 1;
        const QRect label = frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
        EXPECT_TRUE(frame->rect().contains(label)) << shown(*frame, frame->title());
    }
    // The menu titles in one row, none pushed into an overflow button.
    const QMenuBar& bar = *window.menuBar();
    for (QAction* title : bar.actions()) {
        const QRect place = bar.actionGeometry(title);
        EXPECT_TRUE(!place.isEmpty() && bar.rect().contains(place)) << title->text().toStdString();
    }
}

TEST(WindowLanguage, EveryTextOfTheAboutBoxFitsItsPlace) {
    platform::DetachedProgramLauncher launcher;
    platform::MessageBox messageBox;
    about::AboutDialog box({launcher, messageBox});
    box.show();
    expectButtonTextsFit(box);
    expectLabelTextsFit(box);
    // The labels that grow with their text stay clear of the picture.
    const QWidget* picture = box.findChild<QWidget*>(QStringLiteral("picIcon"));
    ASSERT_NE(picture, nullptr);
    for (const QLabel* label : box.findChildren<QLabel*>()) {
        if (label == picture) continue;
        EXPECT_TRUE(box.rect().contains(label->geometry())) << shown(*label, label->text());
        EXPECT_FALSE(label->geometry().intersects(picture->geometry())) << shown(*label, label->text());
    }
}

} // namespace
} // namespace tarvex::window::test
